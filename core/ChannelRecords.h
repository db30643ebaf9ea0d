#pragma once
// InputChannel and OutputChannel: one audio channel of the instance.
//
// Each channel owns a double scratch buffer one block long and a slot in the data-pointer
// array that ProcessBlock receives. A connected channel's slot holds whatever the adaptor bound
// for the current block; an unconnected one points at its scratch buffer, so the processing can
// always read and write every channel.

#include <vector>

struct InputChannel {
  bool connected = false;
  double** dataSlot = nullptr;  // this channel's entry in the input data-pointer array
  std::vector<double> scratch;
};

struct OutputChannel {
  bool connected = false;
  double** dataSlot = nullptr;        // this channel's entry in the output data-pointer array
  float* floatDestination = nullptr;  // host buffer a single-precision block is converted into
  std::vector<double> scratch;
};
