// The safe save's cases that need POSIX files: links, permission bits, a
// path near the length limit, and the rights of a user who is not root
// (run in a child process as "nobody" when the test runs as root).
#include "files_test_util.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace {

std::string slurp(const std::string &p)
{
    std::vector<unsigned char> v = read_bytes(p);
    return std::string(v.begin(), v.end());
}

bool exists(const std::string &p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

struct SafeSavePosix : FilesTest {};

TEST_F(SafeSavePosix, KeepsALinkAndThePermissionBits)
{
    std::string real = dir + "/real.qlx", link = dir + "/link.qlx";
    write_bytes(path("real.qlx"), "old");
    ASSERT_EQ(symlink("real.qlx", link.c_str()), 0);
    ASSERT_EQ(fs_save_block_safely(path("link.qlx").c_str(), 0x103, "through", 7), nullptr);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(slurp(real), "through");

    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    ASSERT_EQ(fs_save_block_safely(path("real.qlx").c_str(), 0x103, "private", 7), nullptr);
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(slurp(real), "private");
    EXPECT_FALSE(exists(real + ".~qm"));
}

TEST_F(SafeSavePosix, ATargetPathNearTheLimitIsSavedUnderItsOwnName)
{
    for (size_t length : {256u, 259u}) {
        std::string target = dir + "\\" + std::string(length - dir.size() - 1, 'n');
        ASSERT_EQ(target.size(), length);
        const error_block *e = fs_save_block_safely(target.c_str(), 0x103, "long", 4);
        ASSERT_EQ(e, nullptr) << e->errmess;
        EXPECT_EQ(slurp(target), "long");
        // Saved again over the existing file: still no temporary left.
        ASSERT_EQ(fs_save_block_safely(target.c_str(), 0x103, "again", 5), nullptr);
        EXPECT_EQ(slurp(target), "again");
        fs_delete(target.c_str());
    }
    std::vector<std::string> left;
    fs_dir_entry entry;
    int done = 0;
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*"), nullptr);
    while (!fs_dir_next(&entry, &done) && !done)
        left.push_back(entry.name);
    EXPECT_TRUE(left.empty());
}

// The cases of a user without root's rights, in directory `d`; returns
// what went wrong (empty when nothing did).
std::string unprivileged_cases(const std::string &d)
{
    std::string failures;
    auto check = [&](bool ok, const char *what) {
        if (!ok)
            failures += std::string(what) + "\n";
    };
    // A read-only target is refused, as the plain save refuses it.
    std::string ro = d + "/ro.qlx";
    check(fs_save_block(ro.c_str(), 0x103, "old", 3) == nullptr, "make ro");
    chmod(ro.c_str(), 0444);
    check(fs_save_block(ro.c_str(), 0x103, "new", 3) != nullptr, "plain save refuses read-only");
    check(fs_save_block_safely(ro.c_str(), 0x103, "new", 3) != nullptr,
          "safe save refuses read-only");
    check(slurp(ro) == "old", "read-only file unchanged");
    check(!exists(ro + ".~qm"), "no temporary beside read-only");

    // A writable file in a directory that cannot be written is saved in
    // place.
    std::string locked = d + "/locked";
    mkdir(locked.c_str(), 0755);
    std::string w = locked + "/w.qlx";
    check(fs_save_block(w.c_str(), 0x103, "old", 3) == nullptr, "make w");
    chmod(locked.c_str(), 0555);
    const error_block *e = fs_save_block_safely(w.c_str(), 0x103, "new in place", 12);
    check(e == nullptr, "safe save in a locked directory");
    check(slurp(w) == "new in place", "saved in place");
    chmod(locked.c_str(), 0755);
    return failures;
}

TEST_F(SafeSavePosix, WithoutRootsRightsReadOnlyIsRefusedAndALockedDirectoryStillSaves)
{
    if (geteuid() != 0) {
        std::string d = dir;
        std::replace(d.begin(), d.end(), '\\', '/');
        EXPECT_EQ(unprivileged_cases(d), "");
        return;
    }
    struct passwd *nobody = getpwnam("nobody");
    if (!nobody)
        GTEST_SKIP() << "no user \"nobody\" to run the unprivileged cases as";
    char temp[] = "/tmp/qm_safe_save_XXXXXX";
    ASSERT_NE(mkdtemp(temp), nullptr);
    ASSERT_EQ(chown(temp, nobody->pw_uid, nobody->pw_gid), 0);
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipe_ends[0]);
        std::string failures;
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0 || geteuid() == 0)
            failures = "could not become nobody\n";
        else
            failures = unprivileged_cases(temp);
        if (!failures.empty() && write(pipe_ends[1], failures.data(), failures.size()) < 0)
            _exit(2);
        _exit(0);
    }
    close(pipe_ends[1]);
    std::string report;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipe_ends[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, n);
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::string cleanup = std::string("rm -rf ") + temp;
    EXPECT_EQ(system(cleanup.c_str()), 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(report, "");
}

}  // namespace
