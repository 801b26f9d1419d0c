// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace kelvor {

// One job of a numbered set: `job` is its number, `worker` the number (from 0) of the thread
// that runs it, so that each thread can keep working state of its own.
using NumberedJob = std::function<void(int job, int worker)>;

// Called on the calling thread after each job it finishes, and while it waits for the others,
// with the number of jobs finished so far. Returning false stops the set between jobs.
using JobProgress = std::function<bool(int finished)>;

// The number of worker threads a set of `jobs` runs on: `requested`, or one per core for 0,
// never more than there are jobs and never fewer than one.
int WorkerCount(int requested, int jobs);

// Runs jobs 0 .. jobs-1 shared out among the workers, the calling thread being worker 0.
// Each job must write only its own results, so what they give does not depend on the number of
// workers. An exception from a job stops the set and is rethrown, that of the lowest-numbered
// job that threw, as running them in order would. Returns false when `progress` stopped it.
// Workers take up to `runLength` consecutive jobs at a time, so that short jobs rarely meet at
// the shared counter; runs are shorter when there are too few jobs for every worker to get
// several.
bool RunNumberedJobs(int jobs, int workers, const NumberedJob& job, const JobProgress& progress,
                     int runLength = 1);

} // namespace kelvor
