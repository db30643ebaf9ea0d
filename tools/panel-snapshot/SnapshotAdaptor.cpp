#include "PluginAdaptor.h"

void SnapshotAdaptor::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = 4;
  if (denominator) *denominator = 4;
}

void SnapshotAdaptor::HostTime(HostTimeInfo* info) {
  if (info) *info = HostTimeInfo();
}
