#include "planning/ContainerOverhead.h"

// 4 of every 188 bytes, the program tables ten times a second, a packet's padding per
// frame, and the ADTS header of each AAC frame.
ContainerOverhead::Model ContainerOverhead::TransportStream() {
  return {".ts", 0, 330, 84.5, 13.8, 4136, 0.02174};
}
