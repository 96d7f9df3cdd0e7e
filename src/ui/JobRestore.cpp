#include "ui/JobRestore.h"

#include "jobs/JobV3.h"

JobRestore::Destination JobRestore::restore(JobV3* job) {
  if (job == nullptr || !job->IsDeleted() || job->IsRunning() || job->IsQueueing()) return Destination::kNone;
  const bool finished = job->GetJobFile()->GetIsCompleted();
  if (!finished) job->SetIsStopped(true);
  job->SetIsDeleted(false);
  return finished ? Destination::kCompleted : Destination::kTranscoding;
}
