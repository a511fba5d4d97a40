#include "devices/MountTable.h"

#include <libmount/libmount.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {
struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

std::string Text(const char* value)
{
    return value ? value : "";
}
}  // namespace

std::vector<MountLine> ReadMountLines(const char* mountInfoPath)
{
    std::vector<MountLine> lines;
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter || mnt_table_parse_file(table.get(), mountInfoPath) != 0)
        return lines;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const std::string root = Text(mnt_fs_get_root(fs));
        lines.push_back({Text(mnt_fs_get_source(fs)), Text(mnt_fs_get_target(fs)), Text(mnt_fs_get_fstype(fs)),
                         Text(mnt_fs_get_vfs_options(fs)), Text(mnt_fs_get_fs_options(fs)), root.empty() ? "/" : root,
                         mnt_fs_get_devno(fs), Text(mnt_fs_get_optional_fields(fs))});
    }
    return lines;
}

std::string BlockDeviceNode(const std::string& source)
{
    if (source.rfind("/dev/", 0) != 0)
        return std::string();
    char resolved[PATH_MAX];
    struct stat status {};
    if (!realpath(source.c_str(), resolved) || stat(resolved, &status) != 0 || !S_ISBLK(status.st_mode))
        return std::string();
    return resolved;
}
