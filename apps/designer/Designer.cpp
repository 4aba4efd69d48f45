// designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] [--save FILE] [--headless | --x11 [--virtual-desktop]]
// designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] --script FILE [--out DIR]
//
// Loads a package build into the design environment, shows its component
// palette, a form to design (FORM, a form file, or a new form) and the property
// view of the selection. Without --script a person designs in the X window
// until the palette window is closed; Save writes the form to FORM (or to
// FILE, given with --save), Save As to a file it asks for.
//
// --host makes the environment one of the four hosts (Delphi 5 by default): it
// offers that host's class-library package and refuses a build made for
// another host. --prefix DIR loads, instead of PACKAGE, every package that the
// host's known-packages key in the Wine prefix DIR's user.reg registers, its
// Windows path ($(DELPHI) and $(BCB) standing for the host's root folder from
// system.reg) mapped through the prefix's drive links (FORM is then the only
// positional argument). It prints each package loaded and the palette.
//
// With --script it plays a script of design steps on the headless screen,
// writing a PNG of the screen after every step (OUT/step-NN.png). Steps, one a
// line ("#" starts a comment):
//
//   palette CLASS            click the palette button of CLASS
//   click NAME X Y           left click at a client point of component NAME
//   dblclick NAME X Y        double-click there
//   rclick NAME X Y          right click there: prints the component's verbs
//   verb NAME INDEX          run verb INDEX of NAME's component editor
//   select NAME              make NAME the selection
//   props                    print the selection's published properties and values
//   expect NAME CLASS [PROP VALUE...]  stop with an error unless it is so
//   menu NAME X Y INDEX      right click there and choose item INDEX of the popup
//                            menu of verbs (OUT/step-NN-menu.png shows it open)
//   ellipsis PROP            press the ellipsis button of PROP in the property view
//   set, event, new, open, save, close, expecttitle: through the windows as a
//                            person does it (ScriptedUser.h); edit PROP VALUE is
//                            set on the selection, savefield FILE is save FILE
//   dialog NAME PROP         open the dialog editor of NAME's property PROP (the
//                            ellipsis of the object inspector); the lines up to
//                            "end" are played in the dialog while it is open:
//       click CONTROL        click the middle of the dialog's control CONTROL
//       type TEXT...         type letters, digits and spaces
//       key KEY              press a key: Return, Escape, Tab, Delete, Back,
//                            Up, Down, Home, End, Space, a letter or digit, each
//                            with Ctrl+, Shift+ or Alt+ before it if wanted
//                            (a PNG of the screen before each of these)
//   expectpage PAGE CLASS... stop with an error unless palette page PAGE holds
//                            exactly these classes, in this order
//
// Editing the form with the pointer and the keys, as a hand does it (the
// modifier words ctrl, shift and alt hold those keys down meanwhile):
//
//   shift-select NAME        Shift+click NAME where it shows itself: adds it to
//                            the selection or takes it out
//   band NAME X1 Y1 X2 Y2 [ctrl] [shift]  drag a rubber band between two client
//                            points of NAME (on the form; ctrl inside a container)
//   move NAME DX DY [alt]    take NAME where it shows itself and drag it by
//                            DX, DY (onto the grid unless alt; dropped onto a
//                            container it goes into it)
//   size NAME HANDLE DX DY [alt]  select NAME alone and drag its grab handle
//                            HANDLE (tl, t, tr, r, br, b, bl, l) by DX, DY
//   delete, cut, copy, paste, undo, redo  Delete, Ctrl+X, C, V, Z, Y on the form
//   key KEY                  press KEY on the form (as in a dialog block)
//   clipboard FILE           put FILE's text on the clipboard, as another
//                            program would
//   expectselection NAME...  stop with an error unless these are selected, in order
//
// NAME is a component of the form or the form itself. A failing step ends the
// program with exit status 1 and one line naming the script line.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "LaunchdeckVersion.h"
#include "apps/designer/ComponentPalette.h"
#include "apps/designer/DesignerHand.h"
#include "apps/designer/DesignerWindow.h"
#include "apps/designer/RecentFiles.h"
#include "apps/designer/ScriptedUser.h"
#include "platform/backends/BackendChoice.h"
#include "host/DesignHost.h"
#include "host/HostEnvironments.h"
#include "installer/wine/Codepage.h"
#include "installer/wine/RegistryFile.h"
#include "installer/wine/WinePrefix.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileIO.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/RectUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"

namespace ld {
namespace {

constexpr const char* UsageText =
    "usage: designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] [--save FILE] [--headless | --x11 [--virtual-desktop]]\n"
    "       designer [--host d3|d4|d5|cb3] [--prefix DIR] [PACKAGE] [FORM] --script FILE [--out DIR]\n"
    "       designer --version\n";

// A command line it cannot follow: one line, and the usage for --help.
int ArgumentError(const std::string& fault)
{
    std::fprintf(stderr, "designer: %s (designer --help shows the usage)\n", fault.c_str());
    return 1;
}

std::string ReadFile(const std::string& path) { return ReadFileBytes(path); }

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

// The designer's windows on a new form or the form file FormFile; saving goes
// to SaveFile, in the form FormFile was read in.
std::unique_ptr<TDesignerWindow> OpenDesignerWindow(TDesignHost& host, const std::string& formFile,
                                                    const std::string& saveFile)
{
    std::unique_ptr<THostFormDesigner> designer;
    bool text = false;
    if (formFile.empty()) {
        designer = std::make_unique<THostFormDesigner>(host.GetRegistry());
    } else {
        const std::string data = ReadFile(formFile);
        text = IsTextFormData(data);
        designer = THostFormDesigner::Open(host.GetRegistry(), data);
    }
    auto window = std::make_unique<TDesignerWindow>(host.GetRegistry(), std::move(designer), saveFile, text);
    window->SetRecentFile(TRecentFiles::DefaultFile());
    return window;
}

// A package that cannot be loaded ends the session (Required) or is reported
// and left out, as an environment does with its known packages.
void LoadPackageInto(TDesignHost& designHost, const std::string& file, bool required)
{
    try {
        const TPackage& package = designHost.LoadPackage(file);
        std::printf("loaded %s: \"%s\"\n", std::filesystem::path(file).filename().c_str(), package.Description.c_str());
    } catch (const EPackageError& e) {
        if (required)
            throw;
        std::fprintf(stderr, "designer: %s\n", e.Message().c_str());
    }
}

// The environment offers its host's class-library package, then loads PACKAGE,
// or with a Wine prefix every package the environment registers there.
void LoadEnvironmentPackages(TDesignHost& designHost, const THostEnvironment& host, const std::string& prefix,
                             const std::string& package)
{
    designHost.SetOfferedPackage(host.RequiredPackage);
    std::printf("environment %s, offering %s\n", host.Name.c_str(), host.RequiredPackage.c_str());
    if (prefix.empty()) {
        LoadPackageInto(designHost, package, true);
        return;
    }
    for (const TKnownPackage& known : KnownPackages(prefix, host))
        if (known.File.empty())
            std::fprintf(stderr, "designer: Cannot load package %s: no such file\n", known.WindowsPath.c_str());
        else
            LoadPackageInto(designHost, known.File, false);
}

// A person designing in the X window until the palette window closes.
int RunInWindow(TDesignHost& host, const std::string& form, const std::string& saveFile)
{
    auto window = OpenDesignerWindow(host, form, saveFile.empty() ? form : saveFile);
    Application->SetMainForm(window->PaletteForm());
    std::printf("Designing %s: choose a palette button, then click on the form; right-click a component for its "
                "verbs; click a value in Properties to change it. New, Open, Save, Save As and Recent are the "
                "palette window's buttons (Ctrl+N, Ctrl+O, Ctrl+S); close the palette window to end.\n",
                form.empty() ? "a new form" : form.c_str());
    std::fflush(stdout);
    Application->Run();
    Application->SetMainForm(nullptr);
    window.reset();
    return 0;
}

class TDesignerProgram {
public:
    TDesignerProgram(const THostEnvironment& host, std::filesystem::path out)
        : FOut(std::move(out)), FHostName(host.Name)
    {
    }

    // PACKAGE, or with a prefix every package the environment registers there.
    void LoadPackages(const THostEnvironment& host, const std::string& prefix, const std::string& package)
    {
        LoadEnvironmentPackages(FHost, host, prefix, package);
    }

    // Shows the palette and FORM (a form file, or a new form when empty).
    void Open(const std::string& form)
    {
        FWindow = OpenDesignerWindow(FHost, form, form);
        FWindow->SetProductName("Launchdeck Designer (" + FHostName + ")");
        FPalette = FWindow->Palette();
        FDesigner = &FWindow->Designer();
        FUser = std::make_unique<TScriptedUser>(FBackend, *FWindow, [this](const std::string& within) { Shot(within); });
        FBackend.RunUntilIdle();
        PrintPalette();
    }

    void RunScript(const std::string& path)
    {
        std::istringstream in(ReadFile(path));
        FPath = path;
        std::string line;
        for (int lineNo = 1; std::getline(in, line); ++lineNo) {
            std::istringstream words(line);
            std::vector<std::string> args;
            for (std::string w; words >> w;)
                args.push_back(w);
            if (!args.empty() && args[0][0] != '#')
                FLines.push_back({lineNo, std::move(args)});
        }
        while (FNext < FLines.size()) {
            const TScriptLine& current = FLines[FNext++];
            try {
                Step(current.Args);
            } catch (const std::exception& e) {
                throw Exception(Format("%s:%d: %s", {path, current.LineNo, e.what()}));
            }
            FBackend.RunUntilIdle();
            FDesigner = &FWindow->Designer(); // a form opened or made new replaces the designer
            FWindow->Sync();
            FBackend.RunUntilIdle();
            Shot();
        }
    }

private:
    // One line of a script: its step, found in the table, with the words
    // after it. Each entry: the step's name, how many words it needs at
    // least, and what it does.
    struct TStep {
        const char* Name;
        size_t Words;
        void (TDesignerProgram::*Run)(const std::vector<std::string>& a);
    };
    static const std::vector<TStep>& Steps()
    {
        static const std::vector<TStep> steps{
            {"palette", 1, &TDesignerProgram::PaletteStep},
            {"click", 3, &TDesignerProgram::ClickStep},
            {"dblclick", 3, &TDesignerProgram::ClickStep},
            {"rclick", 3, &TDesignerProgram::ClickStep},
            {"menu", 4, &TDesignerProgram::MenuStep},
            {"ellipsis", 1, &TDesignerProgram::EllipsisStep},
            {"verb", 2, &TDesignerProgram::VerbStep},
            {"select", 1, &TDesignerProgram::SelectStep},
            {"props", 0, &TDesignerProgram::PropsStep},
            {"expect", 2, &TDesignerProgram::Expect},
            {"expectpage", 1, &TDesignerProgram::ExpectPage},
            {"dialog", 2, &TDesignerProgram::DialogStep},
            // Through the property view and the file buttons (TScriptedUser).
            {"set", 2, &TDesignerProgram::UserStep},
            {"edit", 2, &TDesignerProgram::UserStep},
            {"event", 1, &TDesignerProgram::UserStep},
            {"new", 0, &TDesignerProgram::UserStep},
            {"open", 1, &TDesignerProgram::UserStep},
            {"save", 0, &TDesignerProgram::UserStep},
            {"savefield", 0, &TDesignerProgram::UserStep},
            {"close", 0, &TDesignerProgram::UserStep},
            {"expecttitle", 1, &TDesignerProgram::UserStep},
            // Editing the form with the pointer and the keys.
            {"shift-select", 1, &TDesignerProgram::ShiftSelectStep},
            {"band", 5, &TDesignerProgram::BandStep},
            {"move", 3, &TDesignerProgram::MoveStep},
            {"size", 4, &TDesignerProgram::SizeStep},
            {"delete", 0, &TDesignerProgram::KeyStep},
            {"cut", 0, &TDesignerProgram::KeyStep},
            {"copy", 0, &TDesignerProgram::KeyStep},
            {"paste", 0, &TDesignerProgram::KeyStep},
            {"undo", 0, &TDesignerProgram::KeyStep},
            {"redo", 0, &TDesignerProgram::KeyStep},
            {"key", 1, &TDesignerProgram::KeyStep},
            {"clipboard", 1, &TDesignerProgram::ClipboardStep},
            {"expectselection", 0, &TDesignerProgram::ExpectSelectionStep},
        };
        return steps;
    }

    void Step(const std::vector<std::string>& a)
    {
        if (FUser->IsClosed())
            throw EInvalidOperation("the designer was closed");
        for (const TStep& step : Steps()) {
            if (a[0] != step.Name)
                continue;
            if (a.size() < step.Words + 1)
                throw EConvertError(a[0] + ": " + std::to_string(step.Words) + " arguments expected");
            (this->*step.Run)(a);
            return;
        }
        throw EConvertError("unknown step " + a[0]);
    }

    void PaletteStep(const std::vector<std::string>& a) { ClickPalette(a[1]); }

    void ClickStep(const std::vector<std::string>& a)
    {
        auto* control = dynamic_cast<TControl*>(Component(a[1]));
        if (control == nullptr)
            throw EInvalidOperation(a[1] + " is not a control");
        const TPoint p = control->ClientToScreen({StrToInt(a[2]), StrToInt(a[3])});
        if (a[0] == "click")
            FBackend.Click(p.X, p.Y);
        else if (a[0] == "dblclick")
            FBackend.DoubleClick(p.X, p.Y);
        else
            RightClick(p, -1);
    }

    void MenuStep(const std::vector<std::string>& a)
    {
        ChooseFromContextMenu(a[1], StrToInt(a[2]), StrToInt(a[3]), StrToInt(a[4]));
    }

    void EllipsisStep(const std::vector<std::string>& a)
    {
        FWindow->PropertyView()->MakeVisible(ViewRow(a[1]));
        FUser->ClickAt(FWindow->PropertyView(), FWindow->PropertyView()->EllipsisRect(ViewRow(a[1])));
    }

    void VerbStep(const std::vector<std::string>& a)
    {
        TComponent* c = Component(a[1]);
        const auto verbs = FDesigner->GetVerbs(c);
        const Integer index = StrToInt(a[2]);
        if (index < 0 || index >= static_cast<Integer>(verbs.size()))
            throw EListError(Format("%s has no verb %d", {a[1], index}));
        std::printf("verb \"%s\" on %s\n", verbs[static_cast<size_t>(index)].c_str(), c->GetName().c_str());
        FDesigner->ExecuteVerb(c, index);
    }

    void SelectStep(const std::vector<std::string>& a) { FDesigner->SelectComponent(Component(a[1])); }

    void PropsStep(const std::vector<std::string>&) { PrintProperties(); }

    // The steps a person takes through the property view and the file buttons.
    void UserStep(const std::vector<std::string>& a)
    {
        if (!FUser->Step(a))
            throw EConvertError("unknown step " + a[0]);
    }

    void DialogStep(const std::vector<std::string>& a) { EditProperty(Component(a[1]), a[2]); }

    // ---- editing steps: the pointer and the keys, as a hand gives them ----

    TControl* Control(const std::string& name) const
    {
        auto* control = dynamic_cast<TControl*>(Component(name));
        if (control == nullptr)
            throw EInvalidOperation(name + " is not a control");
        return control;
    }

    // Words after the step's own that name modifiers: ctrl, shift, alt.
    static TDesignModifiers Modifiers(const std::vector<std::string>& a, size_t from)
    {
        TDesignModifiers m;
        for (size_t i = from; i < a.size(); ++i) {
            if (SameText(a[i], "ctrl"))
                m.Ctrl = true;
            else if (SameText(a[i], "shift"))
                m.Shift = true;
            else if (SameText(a[i], "alt"))
                m.Alt = true;
            else
                throw EConvertError("ctrl, shift or alt expected, not " + a[i]);
        }
        return m;
    }

    void ShiftSelectStep(const std::vector<std::string>& a)
    {
        TDesignerHand(FBackend, *FWindow).Click(FreePointOf(Control(a[1])), {.Shift = true});
    }

    // band NAME X1 Y1 X2 Y2 [ctrl] [shift]: from one client point of NAME to another.
    void BandStep(const std::vector<std::string>& a)
    {
        TControl* control = Control(a[1]);
        const TPoint from = control->ClientToScreen({StrToInt(a[2]), StrToInt(a[3])});
        const TPoint to = control->ClientToScreen({StrToInt(a[4]), StrToInt(a[5])});
        TDesignerHand(FBackend, *FWindow).Drag(from, to, Modifiers(a, 6));
    }

    // move NAME DX DY [alt]: NAME taken where it shows itself and dragged.
    void MoveStep(const std::vector<std::string>& a)
    {
        const TPoint from = FreePointOf(Control(a[1]));
        const TPoint to{from.X + StrToInt(a[2]), from.Y + StrToInt(a[3])};
        TDesignerHand(FBackend, *FWindow).Drag(from, to, Modifiers(a, 4));
    }

    // size NAME HANDLE DX DY [alt]: HANDLE tl, t, tr, r, br, b, bl or l.
    void SizeStep(const std::vector<std::string>& a)
    {
        TDesignerHand(FBackend, *FWindow)
            .SizeBy(Control(a[1]), HandleNamed(a[2]), {StrToInt(a[3]), StrToInt(a[4])}, Modifiers(a, 5));
    }

    // delete, cut, copy, paste, undo, redo, key KEY: the keys on the designed form.
    void KeyStep(const std::vector<std::string>& a)
    {
        static const std::vector<std::pair<std::string, std::string>> keys{
            {"delete", "Delete"}, {"cut", "Ctrl+X"}, {"copy", "Ctrl+C"},
            {"paste", "Ctrl+V"},  {"undo", "Ctrl+Z"}, {"redo", "Ctrl+Y"}};
        std::string key = a[0] == "key" ? a[1] : std::string();
        for (const auto& [step, name] : keys)
            if (a[0] == step)
                key = name;
        TDesignerHand(FBackend, *FWindow).FocusDesignedForm();
        PressKey(key);
    }

    // clipboard FILE: the file's text on the clipboard, as another program puts it there.
    void ClipboardStep(const std::vector<std::string>& a) { Clipboard()->SetAsText(ReadFile(a[1])); }

    void ExpectSelectionStep(const std::vector<std::string>& a)
    {
        std::vector<std::string> names;
        for (TPersistent* item : FDesigner->GetSelection())
            if (auto* c = dynamic_cast<TComponent*>(item))
                names.push_back(c->GetName());
        if (names != std::vector<std::string>(a.begin() + 1, a.end()))
            throw EInvalidOperation("the selection is " + Rest(names, 0));
    }

    // The dialog runs its own modal loop: the block's lines become steps of
    // that loop, one per wait. A failing line closes the dialog with Escape and
    // is reported once the editor has returned.
    void EditProperty(TComponent* c, const std::string& name)
    {
        FDesigner->SelectComponent(c);
        std::unique_ptr<TPropertyEditor> editor = FDesigner->GetPropertyEditor(name);
        if (editor == nullptr || !editor->GetAttributes().Contains(paDialog))
            throw EInvalidOperation(c->GetName() + "." + name + " has no dialog editor");
        const size_t first = FNext;
        while (FNext < FLines.size() && FLines[FNext].Args[0] != "end")
            ++FNext;
        if (FNext == FLines.size())
            throw EConvertError("edit: no end");
        const size_t last = FNext++;
        std::string failure;
        bool closed = false;
        for (size_t i = first; i < last; ++i)
            FBackend.Script([this, i, &failure, &closed] {
                if (!failure.empty())
                    return;
                TCustomForm* dialog = Screen->GetActiveForm();
                if (dialog == nullptr || dialog == FDesigner->GetForm() || !(dialog->GetFormState().Contains(fsModal))) {
                    closed = true;
                    return;
                }
                Shot();
                try {
                    DialogLine(dialog, FLines[i].Args);
                } catch (const std::exception& e) {
                    failure = Format("%s:%d: %s", {FPath, FLines[i].LineNo, e.what()});
                    FBackend.Key(VK_ESCAPE);
                }
            });
        editor->Edit();
        const bool leftOver = !FBackend.ScriptDone();
        while (!FBackend.ScriptDone()) // the dialog closed early: drop the rest
            FBackend.WaitForInput(0);
        if (!failure.empty())
            throw Exception(failure);
        if (closed || leftOver)
            throw EInvalidOperation("the dialog closed before its last step");
    }

    void DialogLine(TCustomForm* dialog, const std::vector<std::string>& a)
    {
        const std::string& cmd = a[0];
        if (cmd == "click" && a.size() == 2) {
            auto* control = dynamic_cast<TControl*>(dialog->FindComponent(a[1]));
            if (control == nullptr)
                throw EComponentError("The dialog has no control " + a[1]);
            const TPoint p = control->ClientToScreen({control->GetWidth() / 2, control->GetHeight() / 2});
            FBackend.Click(p.X, p.Y);
        } else if (cmd == "type" && a.size() >= 2) {
            FBackend.Type(Rest(a, 1));
        } else if (cmd == "key" && a.size() == 2) {
            PressKey(a[1]);
        } else {
            throw EConvertError("unknown dialog step " + cmd);
        }
    }

    void PressKey(std::string key)
    {
        Integer modifier = 0;
        for (const auto& [prefix, vk] : {std::pair<std::string, Integer>{"Ctrl+", VK_CONTROL},
                                         {"Shift+", VK_SHIFT}, {"Alt+", VK_MENU}})
            if (key.size() > prefix.size() && SameText(key.substr(0, prefix.size()), prefix)) {
                modifier = vk;
                key = key.substr(prefix.size());
                break;
            }
        static const std::vector<std::pair<std::string, Integer>> names{
            {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Tab", VK_TAB}, {"Delete", VK_DELETE},
            {"Back", VK_BACK}, {"Up", VK_UP}, {"Down", VK_DOWN}, {"Home", VK_HOME}, {"End", VK_END},
            {"Space", VK_SPACE}};
        Integer vk = 0;
        for (const auto& [name, code] : names)
            if (SameText(key, name))
                vk = code;
        if (vk == 0 && key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0])))
            vk = std::toupper(static_cast<unsigned char>(key[0]));
        if (vk == 0)
            throw EConvertError("unknown key " + key);
        if (modifier)
            FBackend.KeyWith(modifier, vk);
        else
            FBackend.Key(vk);
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
                        FUser->ClickAt(FPalette, FPalette->PageTabRect(static_cast<Integer>(p)));
                    FUser->ClickAt(FPalette, FPalette->ButtonRect(static_cast<Integer>(i)));
                    return;
                }
        throw EClassNotFound(className + " has no palette button");
    }

    // A right click at a screen point. The popup menu of verbs, when one opens,
    // is pictured and then closed by a click on Item, or beside it when Item is -1.
    void RightClick(TPoint p, Integer item)
    {
        bool opened = false;
        FWindow->ContextMenu()->SetOnPopup(TNotifyEvent::Lambda([this, item, &opened](TObject*) {
            opened = true;
            FBackend.Script([this, item] { ChooseFromOpenMenu(item); });
        }));
        FBackend.Click(p.X, p.Y, TPointerButton::Right);
        FBackend.RunUntilIdle();
        FWindow->ContextMenu()->SetOnPopup(nullptr);
        if (item >= 0 && !opened)
            throw EInvalidOperation("no menu of verbs opened");
    }

    void ChooseFromOpenMenu(Integer item)
    {
        const HWND menu = FWindow->ContextMenu()->GetWindowHandle();
        RECT r;
        GetWindowRect(menu, r);
        PrintMenu();
        Shot("-menu");
        if (item >= 0 && item < FWindow->ContextMenu()->GetItems()->GetCount())
            FBackend.Click(r.Left + 20, r.Top + 1 + item * TPopupMenu::ItemHeight + TPopupMenu::ItemHeight / 2);
        else
            FBackend.Click(r.Right + 40, r.Bottom + 40);
    }

    void PrintMenu()
    {
        TMenuItem* items = FWindow->ContextMenu()->GetItems();
        auto* component = dynamic_cast<TComponent*>(FWindow->ContextMenu()->GetPopupComponent());
        std::printf("context menu of %s:", component != nullptr ? component->GetName().c_str() : "?");
        for (Integer i = 0; i < items->GetCount(); ++i)
            std::printf(" \"%s\"", items->GetItem(i)->GetCaption().c_str());
        std::printf("\n");
    }

    void ChooseFromContextMenu(const std::string& name, Integer x, Integer y, Integer item)
    {
        auto* control = dynamic_cast<TControl*>(Component(name));
        if (control == nullptr)
            throw EInvalidOperation(name + " is not a control");
        RightClick(control->ClientToScreen({x, y}), item);
    }

    Integer ViewRow(const std::string& prop) const
    {
        const Integer row = FWindow->PropertyView()->RowOf(prop);
        if (row < 0)
            throw EInvalidOperation("The property view shows no property " + prop);
        return row;
    }

    static std::string ValueText(const TPropInfo* prop, const std::string& text)
    {
        return text.size() >= 2 && text.front() == '\'' && text.back() == '\'' ? text.substr(1, text.size() - 2) : text;
    }

    std::string ValueOf(TComponent* c, const std::string& name)
    {
        const TPropInfo* prop = c->ClassType()->FindProperty(name);
        if (prop == nullptr)
            throw EInvalidOperation(c->GetName() + " has no property " + name);
        return FHost.GetRegistry().GetPropertyEditor(prop, {c}, FDesigner)->GetValue();
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
            auto editor = FHost.GetRegistry().GetPropertyEditor(prop, FDesigner->GetSelection(), FDesigner);
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

    // OUT/step-NN.png after a step; a picture taken within step NN (an open menu) adds a suffix.
    void Shot(const std::string& within = {})
    {
        if (FOut.empty())
            return;
        TRect area = FWindow->Area();
        // An editor's dialog in front is in the picture too.
        if (TCustomForm* active = Screen->GetActiveForm(); active && active->GetFormState().Contains(fsModal)) {
            const TRect dialog = active->GetBoundsRect();
            area = {std::min(area.Left, dialog.Left), std::min(area.Top, dialog.Top),
                    std::max(area.Right, dialog.Right), std::max(area.Bottom, dialog.Bottom)};
        }
        char name[48];
        std::snprintf(name, sizeof name, "step-%02d%s.png", within.empty() ? ++FStep : FStep + 1, within.c_str());
        SavePngFile((FOut / name).string(), *FBackend.Capture(area));
    }

    THeadlessBackend FBackend;
    TDesignHost FHost;
    std::filesystem::path FOut;
    std::unique_ptr<TDesignerWindow> FWindow;
    std::string FHostName;
    TComponentPalette* FPalette = nullptr;
    THostFormDesigner* FDesigner = nullptr;
    std::unique_ptr<TScriptedUser> FUser;
    int FStep = 0;

    struct TScriptLine {
        int LineNo;
        std::vector<std::string> Args;
    };
    std::string FPath;
    std::vector<TScriptLine> FLines;
    size_t FNext = 0;
};

} // namespace

int RunInteractive(const THostEnvironment& host, const std::string& prefix, const std::string& package,
                   const std::string& form, const std::string& save, TBackendRequest request)
{
    try {
        TBackendChoice choice = OpenBackend(request);
        if (!choice.Note.empty())
            std::fprintf(stderr, "designer: %s\n", choice.Note.c_str());
        if (choice.X11() == nullptr) {
            std::fprintf(stderr, "designer: no X display to design in; headless, give a script (--script FILE)\n");
            return 1;
        }
        TDesignHost designHost;
        LoadEnvironmentPackages(designHost, host, prefix, package);
        return RunInWindow(designHost, form, save);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "designer: %s\n", e.what());
        return 1;
    }
}

} // namespace ld

int main(int argc, char** argv)
{
    std::vector<std::string> positional;
    std::string script, out, save, hostId = "d5", prefix;
    ld::TBackendRequest request = ld::TBackendRequest::Automatic;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--script" ? &script
                             : arg == "--out"  ? &out
                             : arg == "--save" ? &save
                             : arg == "--host" ? &hostId
                             : arg == "--prefix" ? &prefix
                                                 : nullptr;
        if (value != nullptr) {
            if (i + 1 == argc)
                return ld::ArgumentError(arg + " needs a value");
            *value = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::printf("%s", ld::UsageText);
            return 0;
        } else if (arg == "--version") {
            return ld::PrintVersion("designer");
        } else if (ld::TakeBackendArgument(arg, request)) {
            continue;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return ld::ArgumentError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    const ld::THostEnvironment* host = ld::FindHostEnvironment(hostId);
    if (host == nullptr)
        return ld::ArgumentError("unknown host " + hostId + ": d3, d4, d5 or cb3 expected");
    const size_t packages = prefix.empty() ? 1 : 0;
    if (positional.size() < packages)
        return ld::ArgumentError("PACKAGE missing");
    if (positional.size() > packages + 1)
        return ld::ArgumentError("unexpected argument " + positional[packages + 1]);
    const std::string package = packages > 0 ? positional[0] : std::string();
    const std::string form = positional.size() > packages ? positional[packages] : std::string();
    if (script.empty())
        return ld::RunInteractive(*host, prefix, package, form, save, request);
    try {
        if (!out.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(out, ec);
            if (ec)
                throw ld::EFCreateError("Cannot create folder " + out + ": " + ec.message());
        }
        ld::TDesignerProgram program(*host, out);
        program.LoadPackages(*host, prefix, package);
        program.Open(form);
        program.RunScript(script);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "designer: %s\n", e.what());
        return 1;
    }
    return 0;
}
