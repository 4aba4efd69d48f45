#include "tests/installer/TestPrefix.h"

#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef DECKINSTALL_PROGRAM
#error "DECKINSTALL_PROGRAM names the program under test"
#endif

namespace ld::deckinstall::test {

namespace {

constexpr unsigned NobodyId = 65534;

std::string Escape(const std::string& ansi)
{
    return EscapeText(AnsiToWide(ansi), "\"\"");
}

std::string ValueOf(const fs::path& file, const std::string& key, const std::string& name)
{
    TRegistryFile registry(TTestPrefix::ReadFile(file), file.string());
    TRegistryData data;
    if (!registry.QueryValue(AnsiToWide(key), AnsiToWide(name), data))
        return "<missing>";
    std::string text = WideToAnsi(BytesToWide(data.Bytes));
    if (const size_t zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}

} // namespace

std::string RegKey(const std::string& path, const TValues& values)
{
    std::string text = "\n[" + EscapeText(AnsiToWide(path), "[]") + "] 1700000000\n#time=1da1b2c3d4e5f60\n";
    for (const auto& [name, value] : values)
        text += "\"" + Escape(name) + "\"=\"" + Escape(value) + "\"\n";
    return text;
}

std::string RegRawValue(const std::string& name, const std::string& data)
{
    return "\"" + Escape(name) + "\"=" + data + "\n";
}

std::string RegFile(const std::string& root, const std::string& arch, const std::string& body)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to " + root + "\n\n#arch=" + arch + "\n" + body;
}

TTestPrefix::TTestPrefix()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ldinstall-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    Root = pattern;
    Prefix = Root / "prefix";
    DriveC = Prefix / "drive_c";
    Dist = Root / "dist";
    fs::create_directories(Prefix / "dosdevices");
    fs::create_directories(DriveC / "windows" / "system32");
    fs::create_directories(Dist);
    fs::create_directory_symlink("../drive_c", Prefix / "dosdevices" / "c:");
    fs::create_directory_symlink("/", Prefix / "dosdevices" / "z:");
    WriteSystemReg("");
    WriteUserReg("");
}

TTestPrefix::~TTestPrefix()
{
    std::error_code error;
    fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(Root, error);
}

void TTestPrefix::WriteSystemReg(const std::string& body, const std::string& arch)
{
    WriteFile(Prefix / "system.reg", RegFile("\\\\Machine", arch, body));
}

void TTestPrefix::WriteUserReg(const std::string& body)
{
    WriteFile(Prefix / "user.reg", RegFile("\\\\User\\\\S-1-5-21-0-0-0-1000", "win32", body));
}

fs::path TTestPrefix::AddDrive(char letter)
{
    const std::string folder = std::string("drive_") + letter;
    fs::create_directories(Prefix / folder);
    fs::create_directory_symlink("../" + folder, Prefix / "dosdevices" / (std::string(1, letter) + ":"));
    return Prefix / folder;
}

void TTestPrefix::MoveDistribution(const fs::path& folder)
{
    fs::create_directories(folder.parent_path());
    fs::rename(Dist, folder);
    Dist = folder;
}

void TTestPrefix::WriteFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string TTestPrefix::ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TTestPrefix::AddPackage(const std::string& libFolder, const std::string& fileName)
{
    WriteFile(Dist / libFolder / fileName, "package " + fileName);
}

void TTestPrefix::AddHelpFiles()
{
    WriteFile(Dist / "Help" / "Launchdeck.hlp", "help file");
    WriteFile(Dist / "Help" / "Launchdeck.cnt", ":Base Launchdeck.hlp\r\n");
}

TRunResult TTestPrefix::Run()
{
    const fs::path program = Dist / "deckinstall";
    if (!fs::exists(program))
        fs::copy_file(DECKINSTALL_PROGRAM, program);
    return RunProgram(program, {});
}

fs::path TTestPrefix::HandOverToOrdinaryUser()
{
    const fs::path program = Dist / "deckinstall";
    if (!fs::exists(program))
        fs::copy_file(DECKINSTALL_PROGRAM, program);
    if (geteuid() != 0)
        return program;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Root))
        if (lchown(entry.path().c_str(), NobodyId, NobodyId) != 0)
            throw std::runtime_error("cannot hand over " + entry.path().string());
    if (lchown(Root.c_str(), NobodyId, NobodyId) != 0)
        throw std::runtime_error("cannot hand over " + Root.string());
    return program;
}

TRunResult TTestPrefix::RunAsOrdinaryUser()
{
    const fs::path program = HandOverToOrdinaryUser();
    return RunProgram(program, {}, geteuid() == 0);
}

TRunResult TTestPrefix::RunProgram(const fs::path& program, const std::vector<std::string>& arguments, bool asNobody)
{
    const fs::path outFile = Root / "stdout.txt";
    const fs::path errFile = Root / "stderr.txt";
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || dup2(in, 0) < 0 ||
            chdir(Root.c_str()) != 0)
            _exit(126);
        if (asNobody && (setgroups(0, nullptr) != 0 || setgid(NobodyId) != 0 || setuid(NobodyId) != 0))
            _exit(125);
        setenv("WINEPREFIX", Prefix.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    TRunResult result;
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadFile(outFile);
    result.Err = ReadFile(errFile);
    return result;
}

std::string TTestPrefix::UserValue(const std::string& key, const std::string& name) const
{
    return ValueOf(Prefix / "user.reg", key, name);
}

std::string TTestPrefix::MachineValue(const std::string& key, const std::string& name) const
{
    return ValueOf(Prefix / "system.reg", key, name);
}

std::vector<std::string> TTestPrefix::UserValueNames(const std::string& key) const
{
    const fs::path file = Prefix / "user.reg";
    TRegistryFile registry(ReadFile(file), file.string());
    std::vector<std::string> names;
    for (const std::u16string& name : registry.ValueNames(AnsiToWide(key)))
        names.push_back(WideToAnsi(name));
    return names;
}


} // namespace ld::deckinstall::test
