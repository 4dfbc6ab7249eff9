// Tests of the save routine: every failure and every death point leaves the old file or the new
// one, never a part, and no temporary file after a reported failure.
#include "core/SaveFile.h"

#include "FileTestSupport.h"

#include "platform/host/CommandLine.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace {

using Names = std::vector<std::string>;

std::string newContent()
{
    // Several MiB, so that the bytes go down in more than one piece on some systems.
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{3} << 20); ++i)
        bytes += "line " + std::to_string(i) + " of the new file\n";
    return bytes;
}

// Fails each operation of one save in turn, k = 1, 2, ... until the save completes.
void runFaultLoop(bool hadOldFile)
{
    SCOPED_TRACE(hadOldFile ? "over an old file" : "as a new file");
    kxhost::takeCommandLineText();
    kxtest::TempFolder tmp;
    const std::string path = tmp.file("layout.txt");
    const std::string oldBytes = "the old layout\n";
    const std::string newBytes = newContent();
    int failedBeforeCommit = 0;

    for (int k = 1;; ++k) {
        ASSERT_LT(k, 100) << "the save never completed";
        std::filesystem::remove(path);
        if (hadOldFile)
            kxtest::writeBytes(path, oldBytes);

        kx::FailingFileOps ops(k);
        std::string error;
        bool saved = false;
        {
            kx::ScopedFileOps use(ops);
            saved = kx::saveFileAtomically(path, newBytes, &error);
        }
        const Names expectedEntries = (hadOldFile || saved || ops.hasRenamed()) ? Names{"layout.txt"} : Names{};
        EXPECT_EQ(tmp.entries(), expectedEntries) << "failing operation " << k;
        if (saved) {
            EXPECT_EQ(kxtest::readBytes(path), newBytes);
            break;
        }
        EXPECT_TRUE(ops.hasFailed());
        EXPECT_NE(error.find("Cannot save \"" + path + "\""), std::string::npos) << error;
        EXPECT_NE(error.find("Input/output error"), std::string::npos) << error;
        if (ops.hasRenamed()) {
            // Past the rename the new bytes are in place; the save still says it failed so that
            // the caller keeps its data.
            EXPECT_EQ(kxtest::readBytes(path), newBytes) << "failing operation " << k;
        } else {
            ++failedBeforeCommit;
            if (hadOldFile) {
                EXPECT_EQ(kxtest::readBytes(path), oldBytes) << "failing operation " << k;
            }
        }
    }
    // Creating, writing, syncing, closing and renaming can each fail.
    EXPECT_GE(failedBeforeCommit, 5);
    EXPECT_EQ(kxhost::takeCommandLineText(), "") << "with an error string nothing is printed";
}

TEST(SaveFileFaults, FailingAnyStepKeepsTheOldFileAndLeavesNoTemporary)
{
    runFaultLoop(/*hadOldFile=*/true);
    runFaultLoop(/*hadOldFile=*/false);
}

// Dies (as a killed process would) at its dieAt-th operation.
class DyingFileOps : public kx::FileOps {
public:
    explicit DyingFileOps(int dieAt) : m_dieAt(dieAt) {}
    int openNew(const char* path, unsigned mode) override { step(); return FileOps::openNew(path, mode); }
    long write(int fd, const void* data, std::size_t size) override { step(); return FileOps::write(fd, data, size); }
    int sync(int fd) override { step(); return FileOps::sync(fd); }
    int close(int fd) override { step(); return FileOps::close(fd); }
    int rename(const char* from, const char* to) override { step(); return FileOps::rename(from, to); }
    int unlink(const char* path) override { step(); return FileOps::unlink(path); }
    int openFolder(const char* path) override { step(); return FileOps::openFolder(path); }

private:
    void step()
    {
        if (++m_count == m_dieAt)
            ::_exit(3);
    }
    int m_dieAt;
    int m_count = 0;
};

TEST(SaveFileDeath, AProcessDyingAtAnyStepLeavesTheOldFileOrTheNewOne)
{
    kxtest::TempFolder tmp;
    const std::string path = tmp.file("stock.shp");
    const std::string oldBytes = "old stock\n";
    const std::string newBytes = newContent();
    for (int k = 1;; ++k) {
        ASSERT_LT(k, 100) << "the save never completed";
        for (const std::string& name : tmp.entries())
            std::filesystem::remove(tmp.file(name));
        kxtest::writeBytes(path, oldBytes);

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DyingFileOps ops(k);
            kx::ScopedFileOps use(ops);
            std::string error;
            ::_exit(kx::saveFileAtomically(path, newBytes, &error) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const std::string now = kxtest::readBytes(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "died at operation " << k << ", file has " << now.size()
                                                        << " bytes";
        if (WEXITSTATUS(status) == 0) {
            EXPECT_EQ(now, newBytes);
            EXPECT_EQ(tmp.entries(), Names{"stock.shp"});
            break;
        }
    }
}

class SaveFileTarget : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }
    kxtest::TempFolder tmp;
};

TEST_F(SaveFileTarget, ReplacedFileKeepsItsPermissions)
{
    const std::string path = tmp.file("settings.znd");
    kxtest::writeBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(kx::saveFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SaveFileTarget, ALinkStaysALinkAndTheFileItNamesIsReplaced)
{
    std::filesystem::create_directories(tmp.file("real"));
    const std::string real = tmp.file("real/table.pr");
    kxtest::writeBytes(real, "old");
    std::filesystem::create_symlink("real/table.pr", tmp.file("table.pr"));
    ASSERT_TRUE(kx::saveFileAtomically(tmp.file("table.pr"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp.file("table.pr")));
    EXPECT_EQ(kxtest::readBytes(real), "new");
    EXPECT_EQ(tmp.entries(), (Names{"real", "table.pr"}));
}

TEST_F(SaveFileTarget, BackslashesNameFolders)
{
    std::filesystem::create_directories(tmp.file("Dialog Design"));
    ASSERT_TRUE(kx::saveFileAtomically(tmp.path().string() + "\\Dialog Design\\frame.txt", "x"));
    EXPECT_EQ(kxtest::readBytes(tmp.file("Dialog Design/frame.txt")), "x");
}

TEST_F(SaveFileTarget, AWriterThatGivesUpOrThrowsLeavesTheOldFile)
{
    const std::string path = tmp.file("pic.bmp");
    kxtest::writeBytes(path, "old");
    std::string error;
    EXPECT_FALSE(kx::saveFileAtomically(
        path,
        [](kx::ByteSink& sink) {
            sink.write("partial");
            sink.fail("the source vanished");
            return false;
        },
        &error));
    EXPECT_NE(error.find("the source vanished"), std::string::npos) << error;
    EXPECT_FALSE(kx::saveFileAtomically(
        path, [](kx::ByteSink&) -> bool { throw std::runtime_error("boom"); }, &error));
    EXPECT_FALSE(kx::saveFileAtomically(path, [](kx::ByteSink&) { return false; }, &error));
    EXPECT_EQ(kxtest::readBytes(path), "old");
    EXPECT_EQ(tmp.entries(), Names{"pic.bmp"});
}

TEST_F(SaveFileTarget, UnusableTargetsFailWithAPrintedMessage)
{
    EXPECT_FALSE(kx::saveFileAtomically(tmp.path().string(), "x"));
    EXPECT_FALSE(kx::saveFileAtomically(tmp.file("sub") + "/", "x"));
    EXPECT_FALSE(kx::saveFileAtomically("", "x"));
    EXPECT_FALSE(kx::saveFileAtomically(std::string("a\0b", 3), "x"));
    EXPECT_FALSE(kx::saveFileAtomically(tmp.file("missing/x.txt"), "x"));
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find("*Error* Cannot save \"" + tmp.file("missing/x.txt") + "\""), std::string::npos)
        << printed;
    EXPECT_TRUE(tmp.entries().empty());
}

TEST_F(SaveFileTarget, AFullDiskIsAFailedSave)
{
    const std::string path = tmp.file("big.txt");
    kxtest::writeBytes(path, "old");
    for (int k = 1; k <= 4; ++k) {
        kx::FailingFileOps ops(k, ENOSPC);
        kx::ScopedFileOps use(ops);
        std::string error;
        EXPECT_FALSE(kx::saveFileAtomically(path, "new", &error));
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    }
    EXPECT_EQ(kxtest::readBytes(path), "old");
    EXPECT_EQ(tmp.entries(), Names{"big.txt"});
}

} // namespace
