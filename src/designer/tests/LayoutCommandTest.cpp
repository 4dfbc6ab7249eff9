// kestra-ss layout show: what scripts read from it, run as they run it (the built program, its
// standard output, standard error and exit code).
#include "designer/tests/DesignerTestSupport.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using kxtest::makeControl;
using T = Kx_ControlType;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

class LayoutCommand : public kxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        if (!fs::exists(KX_PROGRAM_PATH))
            GTEST_SKIP() << "kestra-ss is not built";
    }
    Outcome run(const std::vector<std::string>& args, const std::string& libDir) const
    {
        const std::string out = library.file("stdout.txt");
        const std::string err = library.file("stderr.txt");
        std::string command = "KESTRA_SS_LIBDIR=" + quoted(libDir) + " " + quoted(KX_PROGRAM_PATH);
        for (const std::string& a : args)
            command += " " + quoted(a);
        command += " >" + quoted(out) + " 2>" + quoted(err);
        const int status = std::system(command.c_str());
        Outcome r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = kxtest::readBytes(out);
        r.err = kxtest::readBytes(err);
        return r;
    }
};

TEST_F(LayoutCommand, ShowsNamePictureAndOneTabSeparatedLinePerControl)
{
    const Outcome r = run({"layout", "show", "End plates\\end plate"}, KX_SOURCE_LIBRARY_DIR);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = linesOf(r.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "name\tEnd plates\\end plate");
    EXPECT_EQ(lines[1], "picture\t440\t360");

    Kx_DlgDesignerData layout;
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    ASSERT_TRUE(layout.readFromFile("End plates\\end plate", false));
    layout.sortAllControls();
    ASSERT_EQ(lines.size(), static_cast<size_t>(2 + layout.getNrControls()));
    for (int i = 0; i < layout.getNrControls(); ++i) {
        const Kx_DesignerControl& c = *layout.getControl(i);
        const std::vector<std::string> f = fieldsOf(lines[static_cast<size_t>(2 + i)]);
        ASSERT_EQ(f.size(), 10u) << lines[static_cast<size_t>(2 + i)];
        EXPECT_EQ(f[0], "control");
        EXPECT_EQ(f[1], std::to_string(toInt(c.getType())));
        EXPECT_EQ(std::stod(f[2]), c.topLeftX());
        EXPECT_EQ(std::stod(f[5]), c.bottomRightY());
        EXPECT_EQ(f[6], c.getContents().str());
        EXPECT_EQ(f[7], c.getMergedExtComboList().str());
        EXPECT_EQ(f[8], std::to_string(33000 + i));
        EXPECT_EQ(f[9], std::to_string(c.getTabOrder()));
    }
    // The same layout by the path of its file.
    const std::string path = std::string(KX_SOURCE_LIBRARY_DIR) + "Dialog Templates/Dialog Design/End plates/end plate.txt";
    const Outcome byPath = run({"layout", "show", path}, KX_SOURCE_LIBRARY_DIR);
    EXPECT_EQ(byPath.exitCode, 0);
    EXPECT_EQ(byPath.out, r.out);
}

TEST_F(LayoutCommand, TextsStayOnOneLineAndProblemsGoToStandardError)
{
    Kx_DlgDesignerData layout;
    layout.append(makeControl(T::VariableEdit, 0.5, 0.25, 1, 1, "a\tb\nc\x01", "x;y"));
    ASSERT_TRUE(layout.writeToFile("odd"));
    kxtest::writeBytes(layoutPath("odd.txt"), kxtest::readBytes(layoutPath("odd.txt")) + "int type9 = 4x\n");
    const Outcome r = run({"layout", "show", "odd"}, library.path().string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "name\todd\npicture\t0\t0\ncontrol\t2\t0.5\t0.25\t1\t1\ta\\tb\\nc\\x01\tx;y\t33000\t1\n");
    EXPECT_NE(r.err.find("line 10"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("has no picture"), std::string::npos) << r.err;
}

TEST_F(LayoutCommand, ALayoutThatCannotBeReadIsAClearFailure)
{
    writeLayout("exists", "int nrOfControls = 0\n");
    const std::string outside = library.file("outside.txt");
    kxtest::writeBytes(outside, "int nrOfControls = 0\n");
    for (const std::string& asked : {std::string("missing"), std::string("..\\..\\outside"), outside}) {
        const Outcome r = run({"layout", "show", asked}, library.path().string());
        EXPECT_EQ(r.exitCode, 1) << asked;
        EXPECT_EQ(r.out, "") << asked;
        EXPECT_NE(r.err.find("kestra-ss: cannot read layout '" + asked + "': "), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({"layout", "show"}, library.path().string()).exitCode, 2);
    EXPECT_EQ(run({"layout", "list", "exists"}, library.path().string()).exitCode, 2);
    EXPECT_EQ(run({"layout", "show", "exists"}, library.path().string()).exitCode, 0);
}

} // namespace
