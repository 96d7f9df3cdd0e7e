#include "jobs/JobCreation.h"

#include "jobs/JobFile.h"
#include "jobs/JobOutput.h"
#include "platform/OSUtil.h"

JobCreation::Result JobCreation::Create(const std::string& inputFile, const std::string& proposedOutput,
                                        const std::string& quality, const std::string& outputCodec,
                                        const std::string& outputFormat, bool keepAllTracks,
                                        int64_t targetBytes) {
  Result result;
  // The reservation names the job, so the job's id comes first.
  const std::string jobID = OSUtil::createGuid();
  const std::string output = JobOutput::Reserve(proposedOutput, inputFile, jobID, &result.reason);
  if (output.empty()) {
    result.problem = Problem::Output;
    result.path = proposedOutput;
    return result;
  }
  auto* record = new JobFile;
  if (!record->Init(inputFile, output, quality, outputCodec, outputFormat, keepAllTracks, jobID,
                    targetBytes)) {
    result.problem = Problem::JobFile;
    result.path = OSUtil::getFileDir(record->GetPath());
    result.reason = record->LastSaveError();
    JobOutput::Release(output, jobID);
    delete record;
    return result;
  }
  result.record = record;
  return result;
}
