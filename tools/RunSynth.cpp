#include "RunSynth.h"

#include <stdexcept>

std::vector<uint8_t> WriteRunBytes(const TSynthRun&, TSynthLayout*) {
  throw std::logic_error("WriteRunBytes: not written yet");
}
