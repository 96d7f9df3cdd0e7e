#pragma once

class JobV3;

// Takes a job out of the recycle bin. The one place that decides where it goes
// back to and in what state.
class JobRestore {
 public:
  enum class Destination { kNone, kTranscoding, kCompleted };

  // A finished job goes back to Completed; any other to Transcoding, stopped, so it
  // waits for "Transcode again" instead of starting by itself. Nothing happens to a
  // job that is not in the recycle bin, or that runs or waits.
  static Destination restore(JobV3* job);
};
