// Host stand-in, portable C++ (also built into the wine suite's test monitor,
// which reads its jobs from a folder of the Wine prefix). The box's print
// jobs: two files per job in the spool folder
// (%windir%\system32\spool\PRINTERS), as Windows keeps a job's data and its
// shadow file there:
//
//   00007.SPL   the job's data, as the application sent it
//   00007.SHD   the job's JOB_INFO_2 fields, one "Name=value" line each:
//
//     JobId=7
//     Printer=Plumeta
//     Machine=\\PLUMBOX
//     User=User
//     Document=Letter.txt
//     Datatype=RAW
//     PrintProcessor=WinPrint
//     Driver=Plumeta
//     Status=8
//     StatusText=
//     Priority=1
//     TotalPages=1
//     PagesPrinted=0
//     Submitted=2024-05-01 12:30:05.250   (UTC)
//
// Missing lines read as empty or 0; a value may not hold CR or LF. The job's
// Size is the size of its .SPL file; its Position is its place among the
// printer's jobs ordered by id.
#ifndef PLATFORM_HOST_PRINT_SPOOL_JOBS_H_
#define PLATFORM_HOST_PRINT_SPOOL_JOBS_H_

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace plumeta::host {

// The shadow file's text for a job, and back.
std::string WriteShadowFile(const platform::PrintJob& job);
platform::PrintJob ParseShadowFile(const std::string& text);

// The jobs of `printer_name` (any case) in the folder `spool_folder` (a path
// of the system the program runs on), ordered by id, with Size and Position
// filled in.
std::vector<platform::PrintJob> ReadSpoolJobs(const std::string& spool_folder,
                                              const std::string& printer_name);

// Adds a job and returns its id: the one after the last id handed out in
// this folder (kept in its LASTJOB file), skipping ids still queued, so an
// id comes back only after 99999 others, as the spooler's ids rise; 0 when
// its files cannot be written. The data file is complete before the shadow file
// appears, so a reader never sees a job without its data.
std::uint32_t AddSpoolJob(const std::string& spool_folder,
                          platform::PrintJob job, const std::string& data);

// Removes both files of the job.
void RemoveSpoolJob(const std::string& spool_folder, std::uint32_t job_id);

// The Linux path of the job's data file.
std::string SpoolDataPath(const std::string& spool_folder,
                          std::uint32_t job_id);

// Rewrites the job's Status (JOB_STATUS_* bits) in its shadow file; false
// when the job is no longer there.
bool SetSpoolJobStatus(const std::string& spool_folder, std::uint32_t job_id,
                       std::uint32_t status);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_SPOOL_JOBS_H_
