// designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] --script FILE [--out DIR]
//
// Loads a package build into the design environment, shows its component
// palette and a form to design (FORM, a form file, or a new form), and plays a
// script of design steps on the headless screen, writing a PNG of the screen
// after every step (OUT/step-NN.png).
//
// --host makes the environment one of the four hosts (Delphi 5 by default): it
// offers that host's class-library package and refuses a build made for
// another host. --prefix DIR loads, instead of PACKAGE, every package that the
// host's known-packages key in the Wine prefix DIR's user.reg registers, its
// Windows path ($(DELPHI) and $(BCB) standing for the host's root folder from
// system.reg) mapped through the prefix's drive links (FORM is then the only
// positional argument). It prints each package loaded and the palette.
//
// Steps, one a line ("#" starts a comment):
//
//   palette CLASS            click the palette button of CLASS
//   click NAME X Y           left click at a client point of component NAME
//   dblclick NAME X Y        double-click there
//   rclick NAME X Y          right click there: prints the component's verbs
//   verb NAME INDEX          run verb INDEX of NAME's component editor
//   select NAME              make NAME the selection
//   set NAME PROP VALUE...   set a published property (text, number, True/False, enum name)
//   props                    print the selection's published properties and values
//   expect NAME CLASS [PROP VALUE...]  stop with an error unless it is so
//   save FILE [text|binary]  write the form file (binary by default)
//   expectpage PAGE CLASS... stop with an error unless palette page PAGE holds
//                            exactly these classes, in this order
//
// NAME is a component of the form or the form itself. A failing step ends the
// program with exit status 1 and one line naming the script line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "apps/designer/ComponentPalette.h"
#include "host/DesignHost.h"
#include "host/HostEnvironments.h"
#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"
#include "installer/wine/WinePrefix.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/RectUtils.h"
#include "platform/vcl/Forms.h"

namespace ld {
namespace {

int Usage()
{
    std::fprintf(stderr, "usage: designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] --script FILE [--out DIR]\n");
    return 2;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot open " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The environment's root folder as its installer recorded it in the machine
// keys ("" when it did not), without a trailing backslash.
std::string RootDir(const deckinstall::TRegistryFile& machine, const THostEnvironment& host)
{
    using namespace deckinstall;
    std::string key = host.BaseKey;
    if (machine.Architecture() == "win64") // a 32-bit program's view of HKEY_LOCAL_MACHINE\Software
        key.insert(std::string("Software\\").size(), "Wow6432Node\\");
    TRegistryData data;
    if (!machine.QueryValue(AnsiToWide(key), u"RootDir", data))
        return {};
    std::string root = WideToAnsi(BytesToWide(data.Bytes));
    if (const size_t zero = root.find('\0'); zero != std::string::npos)
        root.resize(zero);
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    return root;
}

// Text with every $(DELPHI) and $(BCB), in any case, replaced by Root, as the
// environment expands its own packages' paths.
std::string ExpandRootMacros(std::string text, const std::string& root)
{
    for (const std::string macro : {"$(DELPHI)", "$(BCB)"})
        for (size_t at = 0; (at = UpperCase(text).find(macro, at)) != std::string::npos; at += root.size())
            text.replace(at, macro.size(), root);
    return text;
}

struct TKnownPackage {
    std::string WindowsPath; // as registered, its macros expanded
    std::string File;        // where it lies; empty when no drive of the prefix holds it
};

// The packages the host's known-packages key of a Wine prefix's user.reg names.
std::vector<TKnownPackage> KnownPackages(const std::string& prefixFolder, const THostEnvironment& host)
{
    using namespace deckinstall;
    TWinePrefix prefix(prefixFolder);
    const TRegistryFile machine(ReadFile(prefix.SystemRegistryFile().string()), "system.reg");
    prefix.SetWin64(machine.Architecture() == "win64");
    const TRegistryFile user(ReadFile(prefix.UserRegistryFile().string()), "user.reg");
    const std::string root = RootDir(machine, host);
    std::vector<TKnownPackage> packages;
    for (const std::u16string& name : user.ValueNames(AnsiToWide(host.BaseKey + "\\Known Packages"))) {
        TKnownPackage package{ExpandRootMacros(WideToAnsi(name), root), {}};
        const std::filesystem::path linuxPath = prefix.ToLinuxPath(package.WindowsPath);
        if (!linuxPath.empty() && std::filesystem::is_regular_file(linuxPath))
            package.File = linuxPath.string();
        packages.push_back(std::move(package));
    }
    return packages;
}

class TDesignerProgram {
public:
    TDesignerProgram(const THostEnvironment& host, std::filesystem::path out)
        : FOut(std::move(out)), FHostName(host.Name)
    {
        FHost.SetOfferedPackage(host.RequiredPackage);
        std::printf("environment %s, offering %s\n", host.Name.c_str(), host.RequiredPackage.c_str());
    }

    // A package that cannot be loaded ends the session (Required) or is
    // reported and left out, as an environment does with its known packages.
    void LoadPackage(const std::string& file, bool required)
    {
        try {
            const TPackage& package = FHost.LoadPackage(file);
            std::printf("loaded %s: \"%s\"\n", std::filesystem::path(file).filename().c_str(),
                        package.Description.c_str());
        } catch (const EPackageError& e) {
            if (required)
                throw;
            std::fprintf(stderr, "designer: %s\n", e.Message().c_str());
        }
    }

    // Shows the palette and FORM (a form file, or a new form when empty).
    void Open(const std::string& form)
    {
        FPaletteForm = new TForm(nullptr);
        FPaletteForm->SetCaption("Launchdeck Designer - " + FHostName);
        FPaletteForm->SetBounds(0, 0, 480, 96);
        FPalette = new TComponentPalette(FPaletteForm, FHost.GetRegistry());
        FPalette->SetParent(FPaletteForm);
        FPalette->SetAlign(alClient);
        FPaletteForm->Show();
        FDesigner = form.empty() ? std::make_unique<THostFormDesigner>(FHost.GetRegistry())
                                 : THostFormDesigner::Open(FHost.GetRegistry(), ReadFile(form));
        // The palette's choice is what the next click on the form places.
        FPalette->SetOnChoose([this](TClass cls) { FDesigner->SetPlacingClass(cls); });
        FDesigner->SetOnContextMenu([this](TComponent* c, TPoint) { PrintVerbs(c); });
        TCustomForm* designed = FDesigner->GetForm();
        if (designed->GetCaption().empty())
            designed->SetCaption(designed->GetName());
        designed->SetBounds(0, 104, designed->GetWidth() > 0 ? designed->GetWidth() : 400,
                            designed->GetHeight() > 0 ? designed->GetHeight() : 360);
        designed->Show();
        FBackend.RunUntilIdle();
        PrintPalette();
    }

    ~TDesignerProgram()
    {
        FDesigner.reset();
        delete FPaletteForm;
    }

    void RunScript(const std::string& path)
    {
        std::ifstream in(path);
        if (!in)
            throw EInOutError("Cannot open " + path);
        std::string line;
        for (int lineNo = 1; std::getline(in, line); ++lineNo) {
            std::istringstream words(line);
            std::vector<std::string> args;
            for (std::string w; words >> w;)
                args.push_back(w);
            if (args.empty() || args[0][0] == '#')
                continue;
            try {
                Step(args);
            } catch (const std::exception& e) {
                throw Exception(Format("%s:%d: %s", {path, lineNo, e.what()}));
            }
            FBackend.RunUntilIdle();
            // A placed component ends the palette's choice.
            if (FDesigner->GetPlacingClass() == nullptr)
                FPalette->SetChosenClass(nullptr);
            FBackend.RunUntilIdle();
            Shot();
        }
    }

private:
    void Step(const std::vector<std::string>& a)
    {
        const std::string& cmd = a[0];
        auto need = [&](size_t n) {
            if (a.size() < n)
                throw EConvertError(cmd + ": " + std::to_string(n - 1) + " arguments expected");
        };
        if (cmd == "palette") {
            need(2);
            ClickPalette(a[1]);
        } else if (cmd == "click" || cmd == "dblclick" || cmd == "rclick") {
            need(4);
            auto* control = dynamic_cast<TControl*>(Component(a[1]));
            if (control == nullptr)
                throw EInvalidOperation(a[1] + " is not a control");
            const TPoint p = control->ClientToScreen({StrToInt(a[2]), StrToInt(a[3])});
            if (cmd == "click")
                FBackend.Click(p.X, p.Y);
            else if (cmd == "dblclick")
                FBackend.DoubleClick(p.X, p.Y);
            else
                FBackend.Click(p.X, p.Y, TPointerButton::Right);
        } else if (cmd == "verb") {
            need(3);
            TComponent* c = Component(a[1]);
            const auto verbs = FDesigner->GetVerbs(c);
            const Integer index = StrToInt(a[2]);
            if (index < 0 || index >= static_cast<Integer>(verbs.size()))
                throw EListError(Format("%s has no verb %d", {a[1], index}));
            std::printf("verb \"%s\" on %s\n", verbs[static_cast<size_t>(index)].c_str(), c->GetName().c_str());
            FDesigner->ExecuteVerb(c, index);
        } else if (cmd == "select") {
            need(2);
            FDesigner->SelectComponent(Component(a[1]));
        } else if (cmd == "set") {
            need(4);
            SetProperty(Component(a[1]), a[2], Rest(a, 3));
            FDesigner->Modified();
        } else if (cmd == "props") {
            PrintProperties();
        } else if (cmd == "expect") {
            need(3);
            Expect(a);
        } else if (cmd == "expectpage") {
            need(2);
            ExpectPage(a);
        } else if (cmd == "save") {
            need(2);
            const bool text = a.size() > 2 && a[2] == "text";
            std::ofstream file(a[1], std::ios::binary | std::ios::trunc);
            file << FDesigner->Save(text);
            if (!file)
                throw EInOutError("Cannot write " + a[1]);
            std::printf("saved %s\n", a[1].c_str());
        } else {
            throw EConvertError("unknown step " + cmd);
        }
    }

    static std::string Rest(const std::vector<std::string>& a, size_t from)
    {
        std::string text;
        for (size_t i = from; i < a.size(); ++i)
            text += (i > from ? " " : "") + a[i];
        return text;
    }

    TComponent* Component(const std::string& name) const
    {
        TCustomForm* form = FDesigner->GetForm();
        if (SameText(name, form->GetName()))
            return form;
        if (TComponent* c = form->FindComponent(name))
            return c;
        throw EComponentError("No component named " + name);
    }

    void ClickPalette(const std::string& className)
    {
        const auto& pages = FHost.GetRegistry().GetPalette();
        for (size_t p = 0; p < pages.size(); ++p)
            for (size_t i = 0; i < pages[p].Classes.size(); ++i)
                if (SameText(pages[p].Classes[i]->Name, className)) {
                    if (FPalette->GetPageIndex() != static_cast<Integer>(p))
                        ClickAt(FPalette, FPalette->PageTabRect(static_cast<Integer>(p)));
                    ClickAt(FPalette, FPalette->ButtonRect(static_cast<Integer>(i)));
                    return;
                }
        throw EClassNotFound(className + " has no palette button");
    }

    void ClickAt(TControl* control, const TRect& r)
    {
        const TPoint p = control->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        FBackend.Click(p.X, p.Y);
        FBackend.RunUntilIdle();
    }

    static std::string ValueText(const TPropInfo* prop, const std::string& text)
    {
        return text.size() >= 2 && text.front() == '\'' && text.back() == '\'' ? text.substr(1, text.size() - 2) : text;
    }

    void SetProperty(TComponent* c, const std::string& name, const std::string& raw)
    {
        const TPropInfo* prop = c->ClassType()->FindProperty(name);
        if (prop == nullptr || !prop->IsWritable())
            throw EInvalidOperation(c->GetName() + " has no writable property " + name);
        const std::string text = ValueText(prop, raw);
        switch (prop->Kind) {
        case TTypeKind::tkString:
            prop->SetStr(c, text);
            break;
        case TTypeKind::tkInteger:
            prop->SetOrd(c, StrToInt(text));
            break;
        case TTypeKind::tkBoolean:
            if (!SameText(text, "True") && !SameText(text, "False"))
                throw EConvertError("True or False expected");
            prop->SetOrd(c, SameText(text, "True") ? 1 : 0);
            break;
        case TTypeKind::tkEnumeration: {
            const Integer value = prop->EnumType->ValueOf(text);
            if (value < 0)
                throw EConvertError(text + " is not a value of " + prop->EnumType->Name);
            prop->SetOrd(c, value);
            break;
        }
        default:
            throw EInvalidOperation("The designer cannot type a value of property " + name);
        }
    }

    std::string ValueOf(TComponent* c, const std::string& name)
    {
        const TPropInfo* prop = c->ClassType()->FindProperty(name);
        if (prop == nullptr)
            throw EInvalidOperation(c->GetName() + " has no property " + name);
        return FHost.GetRegistry().GetPropertyEditor(prop, {c}, FDesigner.get())->GetValue();
    }

    void PrintProperties()
    {
        if (FDesigner->GetSelection().empty()) {
            std::printf("nothing selected\n");
            return;
        }
        TPersistent* subject = FDesigner->GetSelection().front();
        std::printf("%s: %s\n", subject->GetNamePath().c_str(), subject->ClassName().c_str());
        for (const TPropInfo* prop : subject->ClassType()->Properties()) {
            auto editor = FHost.GetRegistry().GetPropertyEditor(prop, FDesigner->GetSelection(), FDesigner.get());
            const bool dialog = editor->GetAttributes().Contains(paDialog);
            std::printf("  %-16s %s%s\n", prop->Name.c_str(), editor->GetValue().c_str(), dialog ? " [...]" : "");
        }
    }

    void PrintPalette()
    {
        for (const auto& page : FHost.GetRegistry().GetPalette()) {
            std::printf("palette page \"%s\":", page.Name.c_str());
            for (TClass cls : page.Classes)
                std::printf(" %s", cls->Name.c_str());
            std::printf("\n");
        }
    }

    void ExpectPage(const std::vector<std::string>& a)
    {
        for (const auto& page : FHost.GetRegistry().GetPalette()) {
            if (page.Name != a[1])
                continue;
            std::vector<std::string> names;
            for (TClass cls : page.Classes)
                names.push_back(cls->Name);
            if (names != std::vector<std::string>(a.begin() + 2, a.end()))
                throw EInvalidOperation(Format("palette page \"%s\" holds %s", {a[1], Rest(names, 0)}));
            return;
        }
        throw EInvalidOperation(Format("no palette page \"%s\"", {a[1]}));
    }

    void PrintVerbs(TComponent* c)
    {
        std::printf("context menu of %s:", c->GetName().c_str());
        for (const std::string& verb : FDesigner->GetVerbs(c))
            std::printf(" \"%s\"", verb.c_str());
        std::printf("\n");
    }

    void Expect(const std::vector<std::string>& a)
    {
        TComponent* c = Component(a[1]);
        if (!SameText(c->ClassName(), a[2]))
            throw EInvalidOperation(Format("%s is a %s, not a %s", {a[1], c->ClassName(), a[2]}));
        if (a.size() > 3) {
            const std::string expected = ValueText(nullptr, Rest(a, 4));
            const std::string actual = ValueOf(c, a[3]);
            if (actual != expected)
                throw EInvalidOperation(Format("%s.%s is %s, not %s", {a[1], a[3], actual, expected}));
        }
    }

    void Shot()
    {
        if (FOut.empty())
            return;
        const TRect form = FDesigner->GetForm()->GetBoundsRect();
        const TRect area{0, 0, std::max<Integer>(480, form.Right), std::max<Integer>(96, form.Bottom)};
        char name[32];
        std::snprintf(name, sizeof name, "step-%02d.png", ++FStep);
        SavePngFile((FOut / name).string(), *FBackend.Capture(area));
    }

    THeadlessBackend FBackend;
    TDesignHost FHost;
    std::filesystem::path FOut;
    std::string FHostName;
    TForm* FPaletteForm = nullptr;
    TComponentPalette* FPalette = nullptr;
    std::unique_ptr<THostFormDesigner> FDesigner;
    int FStep = 0;
};

} // namespace
} // namespace ld

int main(int argc, char** argv)
{
    std::vector<std::string> positional;
    std::string script, out, hostId = "d5", prefix;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--script" && i + 1 < argc)
            script = argv[++i];
        else if (arg == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (arg == "--host" && i + 1 < argc)
            hostId = argv[++i];
        else if (arg == "--prefix" && i + 1 < argc)
            prefix = argv[++i];
        else if (!arg.empty() && arg[0] != '-')
            positional.push_back(arg);
        else
            return ld::Usage();
    }
    const ld::THostEnvironment* host = ld::FindHostEnvironment(hostId);
    if (host == nullptr) {
        std::fprintf(stderr, "designer: unknown host %s (d3, d4, d5 or cb3)\n", hostId.c_str());
        return 2;
    }
    const size_t packages = prefix.empty() ? 1 : 0;
    if (positional.size() < packages || positional.size() > packages + 1)
        return ld::Usage();
    if (script.empty()) {
        std::fprintf(stderr, "designer: only scripted sessions are possible yet (--script FILE)\n");
        return 2;
    }
    try {
        if (!out.empty())
            std::filesystem::create_directories(out);
        ld::TDesignerProgram program(*host, out);
        if (prefix.empty())
            program.LoadPackage(positional[0], true);
        else
            for (const ld::TKnownPackage& package : ld::KnownPackages(prefix, *host))
                if (package.File.empty())
                    std::fprintf(stderr, "designer: Cannot load package %s: no such file\n", package.WindowsPath.c_str());
                else
                    program.LoadPackage(package.File, false);
        program.Open(positional.size() > packages ? positional[packages] : std::string());
        program.RunScript(script);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "designer: %s\n", e.what());
        return 1;
    }
    return 0;
}
