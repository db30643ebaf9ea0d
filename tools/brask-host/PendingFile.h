#pragma once
// PendingFile: an output file that appears under its final name only when it is complete.
//
// The data goes to a temporary file beside the final one; Commit renames it into place. If the
// object goes without a Commit (a refusal, an error, an interrupted render), the temporary file
// is removed, so a failed command never leaves a partial or stale-looking output behind.

#include <string>

class PendingFile {
 public:
  explicit PendingFile(std::string finalPath) : finalPath(std::move(finalPath)) {}
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file and answers its open descriptor, or -1 with *error set.
  int Create(std::string* error);
  // Moves the finished temporary file to the final name. The caller has closed the descriptor.
  bool Commit(std::string* error);
  const std::string& FinalPath() const { return finalPath; }

 private:
  std::string finalPath;
  std::string tempPath;
  bool committed = false;
};
