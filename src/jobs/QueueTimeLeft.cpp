#include "jobs/QueueTimeLeft.h"

std::optional<double> QueueTimeLeft::Of(const JobsStatus& status) {
  double runningMedia = 0;  // media seconds the running jobs have left
  double rate = 0;          // media seconds per second of all running jobs together
  double waitingMedia = 0;
  bool waiting = false;
  bool running = false;
  for (const JobStatus& job : status) {
    switch (job.state) {
      case JobState::Waiting:
        if (job.duration <= 0) return std::nullopt;
        waiting = true;
        waitingMedia += job.duration;
        break;
      case JobState::Paused:
        // The queue stands still until the user resumes it: no clock to count down.
        return std::nullopt;
      case JobState::Starting:
      case JobState::Encoding:
        // One whose figure is not known yet would be a guess.
        if (job.leftKind == TimeLeft::Kind::Estimating || job.rate <= 0) return std::nullopt;
        running = true;
        // Jobs running side by side share the machine: their time left adds up as work.
        runningMedia += job.timeLeft * job.rate;
        rate += job.rate;
        break;
      default:
        break;
    }
  }
  if (!waiting || !running) return std::nullopt;
  return (runningMedia + waitingMedia) / rate;
}
