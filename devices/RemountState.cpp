#include "devices/RemountState.h"

#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "kestrelia-unmounted 1";
constexpr const char* kFilePrefix = "unmounted-";

// Tabs, line ends and backslashes in paths are written as escapes.
std::string Escape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(Unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}
}  // namespace

std::string StateDirectory()
{
    const char* folder = std::getenv("KESTRELIA_RUN_DIR");
    return folder && folder[0] ? folder : "/run/kestrelia";
}

std::string OwnStateFile()
{
    return StateDirectory() + "/" + kFilePrefix + std::to_string(getpid());
}

uint64_t ProcessStartTime(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text))
        return 0;
    // The command name may hold spaces and parentheses: fields count from the last ')'.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    for (int index = 3; index <= 22 && rest >> field; ++index) {
        if (index == 22)
            return std::strtoull(field.c_str(), nullptr, 10);
    }
    return 0;
}

std::string StateText(pid_t pid, uint64_t startTime, const std::vector<RememberedMount>& mounts)
{
    std::string text = std::string(kHeader) + " " + std::to_string(pid) + " " + std::to_string(startTime) + "\n";
    for (const RememberedMount& m : mounts) {
        for (const std::string* field : {&m.device, &m.source, &m.target, &m.type, &m.vfsOptions, &m.fsOptions, &m.root})
            text += Escape(*field) + "\t";
        text += std::to_string(m.order) + "\t" + (m.folderKnown ? "1" : "0") + "\t" + std::to_string(m.folderMode) +
                "\t" + std::to_string(m.folderOwner) + "\t" + std::to_string(m.folderGroup) + "\t" + Escape(m.helper) + "\n";
    }
    return text;
}

bool ParseStateText(const std::string& text, pid_t* pid, uint64_t* startTime, std::vector<RememberedMount>* mounts)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.compare(0, std::strlen(kHeader), kHeader) != 0)
        return false;
    std::istringstream header(line.substr(std::strlen(kHeader)));
    long long number = 0;
    unsigned long long start = 0;
    if (!(header >> number >> start) || number <= 0)
        return false;
    *pid = static_cast<pid_t>(number);
    *startTime = start;
    mounts->clear();
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Fields(line);
        // The FUSE helper came last, later: a file of an older version has 12 fields.
        if ((f.size() != 12 && f.size() != 13) || f[0].empty() || f[2].empty())
            return false;
        RememberedMount m;
        m.device = f[0];
        m.source = f[1];
        m.target = f[2];
        m.type = f[3];
        m.vfsOptions = f[4];
        m.fsOptions = f[5];
        m.root = f[6];
        m.order = std::atoi(f[7].c_str());
        m.folderKnown = f[8] == "1";
        m.folderMode = static_cast<uint32_t>(std::strtoul(f[9].c_str(), nullptr, 10));
        m.folderOwner = static_cast<uint32_t>(std::strtoul(f[10].c_str(), nullptr, 10));
        m.folderGroup = static_cast<uint32_t>(std::strtoul(f[11].c_str(), nullptr, 10));
        m.helper = f.size() > 12 ? f[12] : std::string();
        mounts->push_back(m);
    }
    return true;
}

bool SaveRememberedMounts(const std::vector<RememberedMount>& mounts)
{
    const std::string file = OwnStateFile();
    if (mounts.empty())
        return unlink(file.c_str()) == 0 || errno == ENOENT;
    const std::string folder = StateDirectory();
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat status {};
    // Only a folder of root's (or of the user running the program) is trusted.
    if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != geteuid())
        return false;
    // Root's own file, whoever started the program.
    return WriteFileAtomically(file, StateText(getpid(), ProcessStartTime(getpid()), mounts),
                               {WriteIdentity::Process, 0600, true, true})
        .ok();
}

std::vector<LeftMounts> FindLeftMounts()
{
    std::vector<LeftMounts> left;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(StateDirectory(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, std::strlen(kFilePrefix), kFilePrefix) != 0 ||
            name.find('.') != std::string::npos)
            continue;
        struct stat status {};
        if (lstat(entry.path().c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != geteuid())
            continue;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        LeftMounts found;
        uint64_t startTime = 0;
        if (!ParseStateText(text, &found.pid, &startTime, &found.mounts))
            continue;
        if (found.pid == getpid() || (startTime != 0 && ProcessStartTime(found.pid) == startTime))
            continue;  // still running
        found.file = entry.path().string();
        left.push_back(std::move(found));
    }
    return left;
}
