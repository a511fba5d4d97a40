#include "platform/SessionImport.h"

#include "platform/SessionDisplay.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
enum class Check { Display, Path, OwnFolder, LocaleName, LocaleList, Number, ScreenFactors };

struct Allowed {
    const char* name;
    Check check;
};

const Allowed kAllowed[] = {
    {"DISPLAY", Check::Display},
    {"WAYLAND_DISPLAY", Check::Path},
    {"XDG_RUNTIME_DIR", Check::OwnFolder},
    {"XAUTHORITY", Check::Path},
    {"LANG", Check::LocaleName},
    {"LANGUAGE", Check::LocaleList},
    {"LC_ALL", Check::LocaleName},
    {"LC_CTYPE", Check::LocaleName},
    {"LC_NUMERIC", Check::LocaleName},
    {"LC_TIME", Check::LocaleName},
    {"LC_COLLATE", Check::LocaleName},
    {"LC_MONETARY", Check::LocaleName},
    {"LC_MESSAGES", Check::LocaleName},
    {"LC_PAPER", Check::LocaleName},
    {"LC_NAME", Check::LocaleName},
    {"LC_ADDRESS", Check::LocaleName},
    {"LC_TELEPHONE", Check::LocaleName},
    {"LC_MEASUREMENT", Check::LocaleName},
    {"LC_IDENTIFICATION", Check::LocaleName},
    {"QT_SCALE_FACTOR", Check::Number},
    {"QT_FONT_DPI", Check::Number},
    {"QT_SCREEN_SCALE_FACTORS", Check::ScreenFactors},
};

bool Matches(const std::string& value, const char* pattern)
{
    return value.size() <= 256 && std::regex_match(value, std::regex(pattern));
}

// An absolute path without "." or ".." components whose own entry (not
// followed through a link) is of the given type and belongs to user.
bool OwnedEntry(const std::string& path, uid_t user, mode_t type)
{
    if (path.size() >= 1024 || path.empty() || path[0] != '/' || path.find("/.") != std::string::npos)
        return false;
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && (status.st_mode & S_IFMT) == type && status.st_uid == user;
}

bool Valid(Check check, const std::string& value, uid_t user)
{
    switch (check) {
    case Check::Display:
        return IsLocalXDisplay(value);
    case Check::Path:  // looked up later, with the user's rights
        return !value.empty() && value.size() < 1024;
    case Check::OwnFolder:
        return OwnedEntry(value, user, S_IFDIR);
    case Check::LocaleName:
        return Matches(value, "[A-Za-z0-9_][A-Za-z0-9_.@-]{0,63}");
    case Check::LocaleList:
        return Matches(value, "[A-Za-z0-9_][A-Za-z0-9_.@-]{0,63}(:[A-Za-z0-9_][A-Za-z0-9_.@-]{0,63}){0,15}");
    case Check::Number:
        return Matches(value, "[0-9]{1,4}(\\.[0-9]{1,4})?");
    case Check::ScreenFactors:
        return Matches(value, "([A-Za-z0-9_.-]{1,32}=)?[0-9]{1,2}(\\.[0-9]{1,4})?"
                              "([;,]([A-Za-z0-9_.-]{1,32}=)?[0-9]{1,2}(\\.[0-9]{1,4})?){0,15}");
    }
    return false;
}

std::string RefusalText(Check check, const std::string& name)
{
    if (check == Check::Display)
        return name + " was not used: only a display of this machine (:N, :N.S or unix:N) is";
    if (check == Check::OwnFolder)
        return name + " was not used: not a folder of the user's own";
    return name + " was not used: not a valid value";
}

bool ReadWhole(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text->assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// The real and effective user ids from /proc/PID/status.
bool ProcessUsers(pid_t pid, uid_t* real, uid_t* effective)
{
    std::string status;
    if (!ReadWhole("/proc/" + std::to_string(pid) + "/status", &status))
        return false;
    const std::size_t line = status.find("\nUid:");
    if (line == std::string::npos)
        return false;
    std::istringstream fields(status.substr(line + 5));
    unsigned long r = 0;
    unsigned long e = 0;
    if (!(fields >> r >> e))
        return false;
    *real = static_cast<uid_t>(r);
    *effective = static_cast<uid_t>(e);
    return true;
}

bool SameFile(const std::string& a, const std::string& b, bool* same)
{
    struct stat first {};
    struct stat second {};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0)
        return false;
    *same = first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return true;
}
}  // namespace

SessionVariables AllowedSessionVariables(const std::string& block, uid_t user, std::vector<std::string>* refusals)
{
    SessionVariables variables;
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t end = block.find('\0', start);
        if (end == std::string::npos)
            end = block.size();
        const std::string entry = block.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string name = entry.substr(0, equals);
        const std::string value = entry.substr(equals + 1);
        for (const Allowed& allowed : kAllowed) {
            if (name != allowed.name)
                continue;
            if (Valid(allowed.check, value, user))
                variables.emplace_back(name, value);
            else if (refusals != nullptr)
                refusals->push_back(RefusalText(allowed.check, name));
            break;
        }
    }
    return variables;
}

SessionImportStatus ReadSessionOf(pid_t pid, uid_t user, SessionVariables* variables,
                                  std::vector<std::string>* refusals)
{
    const std::string proc = "/proc/" + std::to_string(pid);
    bool same = false;
    if (!SameFile(proc + "/exe", "/proc/self/exe", &same))
        return SessionImportStatus::ParentUnreadable;
    if (!same)
        return SessionImportStatus::NotSameProgram;
    uid_t real = 0;
    uid_t effective = 0;
    if (!ProcessUsers(pid, &real, &effective))
        return SessionImportStatus::ParentUnreadable;
    if (real != user || effective != user)
        return SessionImportStatus::NotSameUser;
    std::string block;
    if (!ReadWhole(proc + "/environ", &block))
        return SessionImportStatus::ParentUnreadable;
    *variables = AllowedSessionVariables(block, user, refusals);
    return SessionImportStatus::Imported;
}

const char* SessionImportStatusText(SessionImportStatus status)
{
    switch (status) {
    case SessionImportStatus::Imported:
        return "read";
    case SessionImportStatus::NotRelaunched:
        return "not started by pkexec";
    case SessionImportStatus::ParentUnreadable:
        return "the parent process could not be read";
    case SessionImportStatus::NotSameProgram:
        return "the parent process runs another program";
    case SessionImportStatus::NotSameUser:
        return "the parent process does not run as the user pkexec names";
    }
    return "unknown";
}

SessionImportStatus ImportSessionFromParent(std::vector<std::string>* refusals)
{
    const char* text = std::getenv("PKEXEC_UID");
    unsigned long number = 0;
    const char* end = text != nullptr ? text + std::char_traits<char>::length(text) : nullptr;
    if (text == nullptr || *text == '\0' || std::from_chars(text, end, number).ptr != end)
        return SessionImportStatus::NotRelaunched;
    const pid_t parent = getppid();
    if (parent <= 1)
        return SessionImportStatus::NotRelaunched;
    const auto user = static_cast<uid_t>(number);
    SessionVariables variables;
    const SessionImportStatus status = ReadSessionOf(parent, user, &variables, refusals);
    if (status != SessionImportStatus::Imported)
        return status;
    std::string xauthority;
    std::string wayland;
    for (const auto& [name, value] : variables) {
        if (name == "XAUTHORITY")
            xauthority = value;
        else if (name == "WAYLAND_DISPLAY")
            wayland = value;
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    // What the window system opens by name is handed over open instead; the
    // descriptors stay open for the life of the process.
    std::string why;
    if (!xauthority.empty()) {
        UniqueFd copy = PrivateXAuthorityCopy(xauthority, user, &why);
        if (copy.valid())
            setenv("XAUTHORITY", ("/proc/self/fd/" + std::to_string(copy.release())).c_str(), 1);
        else
            refusals->push_back("XAUTHORITY was not used: " + why);
    }
    bool hasWayland = false;
    if (!wayland.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        UniqueFd connection = ConnectWaylandAsUser(runtime != nullptr ? runtime : "", wayland, user, &why);
        hasWayland = connection.valid();
        if (hasWayland)
            setenv("WAYLAND_SOCKET", std::to_string(connection.release()).c_str(), 1);
        else
            refusals->push_back("WAYLAND_DISPLAY was not used: " + why);
    }
    const char* display = std::getenv("DISPLAY");
    if ((display == nullptr || *display == '\0') && hasWayland)
        setenv("QT_QPA_PLATFORM", "wayland", 0);
    return status;
}
