#include "reports/RunHistory.h"

#include "platform/ActAsUser.h"
#include "platform/AtomicFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Creates every missing folder of path (private to the user); 0 or an error number.
int MakeFolders(const std::string& path)
{
    std::string partial;
    std::size_t at = 0;
    while (at != std::string::npos) {
        at = path.find('/', at + 1);
        partial = path.substr(0, at);
        if (partial.empty())
            continue;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return errno;
    return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

std::vector<std::string> JsonFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name[0] != '.' && name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FileNameFor(int64_t milliseconds)
{
    const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &parts);
    char name[64];
    std::snprintf(name, sizeof name, "%s.%03dZ.json", stamp, static_cast<int>(milliseconds % 1000));
    return name;
}

// Keeps the run just saved and the newest others by the time inside them, up
// to kMaxRunsPerDrive in all. Only the drive's own run documents under the
// names runs are saved with count; no other file is removed.
void DropOldestRuns(const std::string& root, const std::string& identity, const std::string& saved,
                    std::ostream& notes)
{
    static const std::regex runName(R"(.*/\d{8}T\d{6}\.\d{3}Z\.json)");
    const std::vector<std::string> names = JsonFilesIn(DriveHistoryFolder(root, identity));
    if (names.size() <= kMaxRunsPerDrive)
        return;  // nothing to drop, no document to read
    std::size_t kept = 1;
    for (const HistoryEntry& entry : ListDriveHistory(root, identity, notes)) {
        if (entry.path == saved || !std::regex_match(entry.path, runName))
            continue;
        if (kept < kMaxRunsPerDrive)
            ++kept;
        else
            unlink(entry.path.c_str());
    }
}

// One note for the runs dated later than now: a clock that was wrong when
// they were saved (or is now) puts them before every new run.
void NoteRunsFromTheFuture(const std::vector<HistoryEntry>& entries, const std::string& identity,
                           std::ostream& notes)
{
    const std::time_t now = std::time(nullptr);
    const auto future = std::count_if(entries.begin(), entries.end(), [now](const HistoryEntry& entry) {
        return RunDocumentTime(entry.run).value_or(0) > now;
    });
    if (future > 0)
        notes << "kestrelia: " << future << (future == 1 ? " run of " : " runs of ") << identity
              << " dated in the future, the latest " << entries.front().run.when
              << ": was the clock wrong when they were saved, or is it wrong now?\n";
}
}  // namespace

std::string HistoryRoot()
{
    const CallingUserInfo owner = CallingUser();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string data = xdg != nullptr && xdg[0] == '/' ? xdg : "";
    // Running for someone else, a data folder outside their home is not theirs.
    if (!data.empty() && owner.uid >= 0 && !StartsWith(data, owner.home + "/"))
        data.clear();
    if (data.empty()) {
        if (owner.home.empty() || owner.home[0] != '/')
            return {};
        data = owner.home + "/.local/share";
    }
    return data + "/kestrelia/history";
}

std::string DriveHistoryFolder(const std::string& root, const std::string& identity)
{
    std::string name;
    for (const unsigned char c : identity) {
        if (name.size() >= 60)
            break;
        name += std::isalnum(c) != 0 || c == '.' || c == '-' || c == '_' ? static_cast<char>(c) : '_';
    }
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : identity)
        hash = (hash ^ c) * 1099511628211ull;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%016llx", static_cast<unsigned long long>(hash));
    return root + "/" + name + suffix;
}

std::vector<HistoryEntry> ListDriveHistory(const std::string& root, const std::string& identity,
                                           std::ostream& notes)
{
    const ActAsCallingUser asUser;
    const std::string folder = DriveHistoryFolder(root, identity);
    std::vector<HistoryEntry> entries;
    if (asUser.error() != 0) {
        notes << "kestrelia: " << folder << ": " << std::strerror(asUser.error()) << '\n';
        return entries;
    }
    std::vector<std::string> names = JsonFilesIn(folder);
    std::reverse(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        std::string why;
        std::optional<RunDocument> run = ReadRunDocumentHeader(path, &why);
        if (run && run->identity != identity)
            why = "the run of another drive (" + run->identity + ")";
        if (!run || run->identity != identity) {
            notes << "kestrelia: skipping " << path << ": " << why << '\n';
            continue;
        }
        entries.push_back({path, std::move(*run)});
    }
    // Newest first by the time recorded inside; the file name breaks ties.
    std::stable_sort(entries.begin(), entries.end(), [](const HistoryEntry& a, const HistoryEntry& b) {
        return RunDocumentTime(a.run) > RunDocumentTime(b.run);
    });
    NoteRunsFromTheFuture(entries, identity, notes);
    return entries;
}

std::string SaveRunToHistory(const std::string& root, const RunDocument& run, int64_t whenMilliseconds,
                             std::string* error, std::ostream& notes)
{
    auto fail = [error](const std::string& reason) {
        if (error != nullptr)
            *error = reason;
        return std::string();
    };
    if (root.empty())
        return fail("no home folder to keep the history in");
    if (run.identity.empty())
        return fail("the drive cannot be told apart from others");
    const ActAsCallingUser asUser;
    const std::string folder = DriveHistoryFolder(root, run.identity);
    if (const int status = asUser.error() != 0 ? asUser.error() : MakeFolders(folder))
        return fail(FileWriteProblem(folder, {status, "create", {}, WrittenAsText(asUser.user())}));
    const std::string text = RunDocumentToJson(run);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string path = folder + "/" + FileNameFor(whenMilliseconds + attempt);
        const FileWriteResult written = WriteFileAtomically(path, text, {WriteIdentity::CallingUser, 0666, false, true});
        if (written.errorNumber == EEXIST)
            continue;
        if (!written.ok())
            return fail(FileWriteProblem(path, written));
        DropOldestRuns(root, run.identity, path, notes);
        return path;
    }
    return fail(folder + ": no free name for the run");
}

FileWriteResult WriteRunDocumentFile(const std::string& path, const RunDocument& run)
{
    return WriteFileAtomically(path, RunDocumentToJson(run));
}

std::optional<RunDocument> ReadRunDocumentAsUser(const std::string& path, std::string* error)
{
    const ActAsCallingUser asUser;
    if (asUser.error() != 0) {
        if (error != nullptr)
            *error = std::string("cannot be read: ") + std::strerror(asUser.error());
        return std::nullopt;
    }
    return ReadRunDocumentFile(path, error);
}

int64_t NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
