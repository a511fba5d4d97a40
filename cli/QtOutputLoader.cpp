#include "cli/QtOutput.h"

#include <climits>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {
// Beside the program, as installed (libexec/kestrelia) and in the build tree.
std::string ModulePath()
{
    char program[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    const std::string path(program, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + "kestrelia-cli-qt.so";
}
}  // namespace

const QtOutputFunctions* LoadQtOutput(std::ostream& err)
{
    static const QtOutputFunctions* loaded = nullptr;
    if (loaded != nullptr)
        return loaded;
    const std::string path = ModulePath();
    // Kept loaded until the end: Qt's clean-up runs at exit.
    void* const module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = module != nullptr
                           ? reinterpret_cast<const QtOutputFunctions* (*)()>(dlsym(module, kQtOutputEntryPoint))
                           : nullptr;
    if (entry == nullptr) {
        const char* why = dlerror();
        err << "kestrelia-cli: cannot load " << path << ": " << (why != nullptr ? why : "no entry point") << '\n';
        return nullptr;
    }
    loaded = entry();
    return loaded;
}
