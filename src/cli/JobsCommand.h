#pragma once

// `kovadle-cli jobs`: the stored jobs, oldest first, one line each with tab-separated
// fields: the window's table (Transcoding, Completed, RecycleBin), the quality, the
// input, the output, the state (running, completed, failed, stopped, idle) and, for a
// failed job, why. With json, one JSON object per job and line (see JobsJson).
class JobsCommand {
 public:
  // Returns the exit status (0; unreadable job files are reported and skipped).
  static int Run(bool json = false);
};
