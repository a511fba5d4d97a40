#include "cli/ManyDrivesRun.h"

#include "cli/AllDrives.h"
#include "cli/BenchmarkRun.h"
#include "cli/ConsoleHost.h"
#include "cli/DriveController.h"
#include "cli/DriveFileNames.h"
#include "cli/DrivesProgress.h"
#include "cli/GraphOutput.h"
#include "cli/HistoryOutput.h"
#include "cli/ReportOutput.h"
#include "cli/ResultsOutput.h"
#include "cli/UnmountedVolumes.h"
#include "engine/RunExecution.h"
#include "engine/TestRun.h"

#include <algorithm>
#include <charconv>
#include <future>
#include <iostream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace {
// One drive of the run, from its options to its outcome.
struct DriveJob {
    CliOptions options;  // its own target and file names
    DriveOutcome outcome;
    std::unique_ptr<CliMountSession> mounts = std::make_unique<CliMountSession>();
    PreparedRun prepared;
    std::unique_ptr<ConsoleHost> host = std::make_unique<ConsoleHost>(false);
    bool ended = false;
    std::ostringstream json;  // its JSON object, with --json
    // Its run kept (history, --save-json) on a thread of its own, so that the
    // drives' writes and fsyncs overlap one another; what it says to tell after.
    std::future<bool> kept;
    std::ostringstream keptMessages;
};

// Stop signals rank first, then refusals, then failures.
int WorseStatus(int status, int other)
{
    const auto rank = [](int s) { return s >= 128 ? 4 : s == kExitNotConfirmed ? 3 : s; };
    return rank(other) > rank(status) ? other : status;
}

CliOptions OptionsForDrive(const CliOptions& options, const std::string& target, const std::string& name,
                           bool nameFiles)
{
    CliOptions own = options;
    own.target = target;
    own.targets = {target};
    for (auto& [option, value] : own.extras)
        if (nameFiles && !value.empty() && (option == kReportOption || option == kGraphOption || option == kSaveJsonOption))
            value = PathForDrive(value, name);
    return own;
}

// The problem with the options as a whole or with one drive's, before anything is tested; "" for none.
std::string InputProblem(const CliOptions& options, const std::vector<std::unique_ptr<DriveJob>>& jobs,
                         double* targetRate)
{
    if (ExtraOptionGiven(options, kAllOption) && !options.targets.empty())
        return std::string(kAllOption) + " tests every listed drive: give no target with it";
    if (ExtraOptionGiven(options, kYesOption) && !ExtraOptionGiven(options, kAllOption))
        return std::string(kYesOption) + " answers the question of " + kAllOption + ": give it with " + kAllOption;
    if (ExtraOptionGiven(options, kCompareOption))
        return std::string(kCompareOption) + " sets one run beside an earlier one: give it with one target alone";
    if (ExtraOptionGiven(options, kTargetRateOption)) {
        const std::string text = ExtraOptionValue(options, kTargetRateOption);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *targetRate);
        if (error != std::errc() || end != text.data() + text.size() || !(*targetRate > 0.0 && *targetRate < 1e7))
            return std::string(kTargetRateOption) + " must be a speed in MB/s above 0, not \"" + text + "\"";
    }
    std::vector<std::string> targets;
    for (const auto& job : jobs)
        targets.push_back(job->options.target);
    if (std::string same = SameDriveTwice(targets); !same.empty())
        return same;
    for (const auto& job : jobs) {
        std::optional<RunDocument> earlier;
        for (const std::string& problem : {TargetPathProblem(job->options), CheckGraphOption(job->options),
                                           CheckReportOption(job->options), CheckHistoryOptions(job->options, &earlier)})
            if (!problem.empty())
                return problem;
    }
    return {};
}

// Opens every drive of the group (unmounting with --unmount), refusing each
// on its own. The drives prepared.
std::vector<DriveJob*> PrepareDrives(const std::vector<DriveJob*>& group, std::ostream& err)
{
    std::vector<DriveJob*> unmounted;
    for (DriveJob* job : group) {
        if (const int refused = job->mounts->Prepare(job->options, err); refused != 0) {
            job->outcome.status = refused;
            continue;
        }
        unmounted.push_back(job);
    }
    // Each drive's launch checks (its mounts, who else uses it, the exclusive
    // open) on a thread of its own, so that the drives' looks through every
    // process overlap rather than follow one another.
    std::vector<std::future<PreparedRun>> launches;
    {
        const StopSignalsHeld held;
        for (DriveJob* job : unmounted)
            launches.push_back(std::async(std::launch::async | std::launch::deferred,
                                          [job] { return PrepareCliRun(job->options, job->options.target); }));
    }
    std::vector<DriveJob*> prepared;
    for (std::size_t i = 0; i < unmounted.size(); ++i) {
        DriveJob* const job = unmounted[i];
        job->prepared = launches[i].get();
        if (const std::optional<Refusal>& refusal = job->prepared.refusal) {
            PrintRefusal(err, *refusal, job->options.target);
            job->outcome.status = job->mounts->Finish(refusal->exitStatus, err);
            continue;
        }
        prepared.push_back(job);
    }
    return prepared;
}

// Runs the prepared drives at once until every one has ended; false when a
// stop signal stopped them (each told, every worker joined).
bool RunAtOnce(const std::vector<DriveJob*>& running, bool liveLine, std::ostream& err)
{
    for (DriveJob* job : running) {
        if (!StartWorkerWithoutSignals(*job->prepared.run, *job->host)) {
            err << "kestrelia-cli: " << job->options.target << ": cannot start the test thread\n";
            job->outcome.status = kExitTestFailed;
            job->ended = true;
        }
    }
    for (bool allEnded = false; !allEnded;) {
        allEnded = true;
        bool waited = false;
        for (DriveJob* job : running) {
            if (job->ended)
                continue;
            job->ended = job->host->WaitForEnd(std::chrono::milliseconds(waited ? 0 : 150));
            waited = true;
            if (job->ended && !liveLine)
                err << job->options.target << ": the test has ended\n";
            allEnded = allEnded && job->ended;
        }
        if (liveLine) {
            std::string line = "Test in Progress:";
            for (const DriveJob* job : running)
                line += (job == running.front() ? " " : ", ") +
                        DriveProgressText(job->outcome.name, *job->prepared.run, job->ended);
            ShowProgressLine(line);
        }
        if (!allEnded && InterruptExitStatus() != 0) {
            for (DriveJob* job : running)
                RequestRunStop(*job->prepared.run);
            for (DriveJob* job : running)
                JoinRunWorker(*job->prepared.run);
            break;
        }
    }
    for (DriveJob* job : running)
        JoinRunWorker(*job->prepared.run);
    if (liveLine)
        ClearProgressLine();
    return InterruptExitStatus() == 0;
}

// The results of a drive whose test ended: printed, kept, mounted back, its
// graph and report written.
void PresentDrive(DriveJob& job, std::ostream& out, std::ostream& err)
{
    const CliOptions& options = job.options;
    // A run that ended well, or a surface test that found unreadable sectors
    // (status 1): its results are kept and written all the same.
    bool measured = false;
    int status = PresentEndedRun(options, *job.prepared.run, options.target, options.json ? job.json : out, err,
                                 [&](const Run& ended) {
                                     measured = true;
                                     job.kept = std::async(std::launch::async | std::launch::deferred,
                                                           [&options, &messages = job.keptMessages,
                                                            document = CaptureRunDocument(ended)] {
                                                               return KeepCliRun(options, document, messages);
                                                           });
                                     return std::string();
                                 });
    const Run run = job.prepared.run->run;
    job.prepared.run.reset();  // the drive closed, so that its volumes can be mounted again
    status = job.mounts->Finish(status, err);
    measured = measured && (status == kExitDone || status == kExitTestFailed);
    const auto failWith = [&status] { status = std::max(status, kExitTestFailed); };
    const std::string graph = GraphPathOption(options);
    if (measured && !graph.empty() && !WriteResultGraph(graph, run, options, err))
        failWith();
    const std::string report = ReportPathOption(options);
    if (measured && !report.empty() && !WriteRunReport(report, run, err))
        failWith();
    if (measured)
        job.outcome.run = run;
    job.outcome.status = status;
}

// Waits until the drive's run is kept; one that could not be kept fails its drive.
void FinishKeeping(DriveJob& job, std::ostream& err)
{
    if (!job.kept.valid())
        return;
    const bool kept = job.kept.get();
    err << job.keptMessages.str();
    const int status = job.outcome.status;
    if (!kept && job.outcome.run && (status == kExitDone || status == kExitTestFailed))
        job.outcome.status = kExitTestFailed;
}

// Tests the drives of the group at the same time; false when a stop signal ended it.
bool TestTogether(const std::vector<DriveJob*>& group, bool liveLine, std::ostream& out, std::ostream& err)
{
    const std::vector<DriveJob*> running = PrepareDrives(group, err);
    if (running.empty())
        return true;
    const bool ended = InterruptExitStatus() == 0 && RunAtOnce(running, liveLine, err);
    for (DriveJob* job : running) {
        if (ended) {
            if (!job->options.json && job != running.front())
                out << '\n';
            PresentDrive(*job, out, err);
            continue;
        }
        const bool measured = job->prepared.run->run.end == RunEnd::Completed;
        err << "kestrelia-cli: " << job->options.target
            << (job->prepared.run->run.started == 0 ? ": stopped before the test began.\n"
                : measured ? ": stopped as the test ended; the run is not kept.\n"
                           : ": stopped; every block written so far was put back.\n");
        job->prepared.run.reset();
        job->outcome.status = job->mounts->Finish(InterruptExitStatus(), err);
    }
    for (DriveJob* job : running)
        FinishKeeping(*job, err);
    return ended;
}

}  // namespace

bool ManyDrivesAsked(const CliOptions& options)
{
    return options.targets.size() > 1 || ExtraOptionGiven(options, kAllOption) ||
           ExtraOptionGiven(options, kTargetRateOption) || ExtraOptionGiven(options, kOneAtATimeOption) ||
           ExtraOptionGiven(options, kYesOption);
}

int RunManyDrives(const CliOptions& options, std::ostream& out, std::ostream& err,
                  std::vector<DriveOutcome>* outcomes)
{
    std::vector<std::string> targets = options.targets;
    const bool all = ExtraOptionGiven(options, kAllOption);
    if (all && targets.empty()) {
        targets = UnmountedListedDrives();
        if (const int status = ConfirmAllDrives(targets, ExtraOptionGiven(options, kYesOption), std::cin,
                                                isatty(STDIN_FILENO) != 0, err))
            return status;
    }
    const std::vector<std::string> names = DriveNamesOf(targets);
    std::vector<std::unique_ptr<DriveJob>> jobs;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        auto job = std::make_unique<DriveJob>();
        job->options = OptionsForDrive(options, targets[i], names[i], targets.size() > 1);
        job->outcome.target = targets[i];
        job->outcome.name = names[i];
        job->outcome.controller = DriveController(targets[i]);
        jobs.push_back(std::move(job));
    }
    double targetRate = 0.0;
    if (const std::string problem = InputProblem(options, jobs, &targetRate); !problem.empty()) {
        err << "kestrelia-cli: " << problem << '\n';
        return kExitBadInput;
    }

    const bool concurrent = !ExtraOptionGiven(options, kOneAtATimeOption);
    const bool liveLine = isatty(STDERR_FILENO) != 0 && !options.json;
    std::vector<std::vector<DriveJob*>> groups(concurrent ? 1 : jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i)
        groups[concurrent ? 0 : i].push_back(jobs[i].get());
    bool stopped = false;
    for (const std::vector<DriveJob*>& group : groups) {
        if (stopped || InterruptExitStatus() != 0) {  // the drives a stop signal came before
            for (DriveJob* job : group) {
                err << "kestrelia-cli: " << job->options.target << ": stopped before the test began.\n";
                job->outcome.status = InterruptExitStatus();
            }
            stopped = true;
            continue;
        }
        if (!options.json && &group != &groups.front())
            out << '\n';
        stopped = !TestTogether(group, liveLine, out, err);
    }

    int status = kExitDone;
    for (const auto& job : jobs) {
        if (targetRate > 0.0 && job->outcome.run && !ReachesTargetRate(FiguresOf(*job->outcome.run), targetRate)) {
            err << "kestrelia-cli: " << job->outcome.target << ": below the target rate\n";
            job->outcome.status = kExitTestFailed;
        }
        status = WorseStatus(status, job->outcome.status);
    }
    if (options.json && jobs.size() == 1)
        out << jobs.front()->json.str();
    std::vector<DriveOutcome> ended;
    std::vector<std::string> runObjects;
    for (const auto& job : jobs) {
        ended.push_back(job->outcome);
        if (!job->json.str().empty())
            runObjects.push_back(job->json.str());
    }
    if (options.json && jobs.size() > 1)
        PrintDrivesJson(out, ended, runObjects, targetRate, concurrent);
    else if (!options.json && !stopped)
        PrintDriveSummary(out, ended, targetRate, concurrent);
    if (outcomes != nullptr)
        *outcomes = std::move(ended);
    return status;
}
