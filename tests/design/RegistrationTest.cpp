// The tree view's registration with the form designer: the palette, the component editor's
// commands and double click, the Items property editor, the package's units. A designer
// stand-in counts what it is told of modifications.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "design/lxTreeAbout.h"
#include "design/lxTreeViewEditor.h"
#include "design/lxTreeViewRegister.h"
#include "package/lxTreeView70.h"
#include "support/FormWithTree.h"
#include "support/ModalForms.h"

namespace {

class TRecordingDesigner : public IDesigner {
public:
    void Modified() override { ++Modifications; }
    int Modifications = 0;
};

// Answers every file dialog with Answer, noting the dialogs it was asked.
class TFileAnswers {
public:
    explicit TFileAnswers(std::function<bool(TOpenDialog&)> Answer)
    {
        FPrevious = SetDialogResponder([this, Answer](TCommonDialog& Dialog) {
            auto* file = dynamic_cast<TOpenDialog*>(&Dialog);
            if (!file)
                return false;
            Asked.push_back(file);
            Filters.push_back(file->Filter());
            DefaultExts.push_back(file->DefaultExt());
            InitialDirs.push_back(file->InitialDir());
            Options.push_back(file->Options());
            return Answer(*file);
        });
    }
    ~TFileAnswers() { SetDialogResponder(FPrevious); }
    TFileAnswers(const TFileAnswers&) = delete;
    TFileAnswers& operator=(const TFileAnswers&) = delete;

    std::vector<TOpenDialog*> Asked;
    std::vector<std::string> Filters, DefaultExts, InitialDirs;
    std::vector<TOpenOptions> Options;

private:
    TDialogResponder FPrevious;
};

std::string Bytes(TlxTreeView* Tree)
{
    TMemoryStream stream;
    Tree->SaveToStream(&stream, true);
    return std::string(static_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

std::string FileBytes(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

class Registration : public FormWithTree {
protected:
    void SetUp() override
    {
        FormWithTree::SetUp();
        lxTreeView70::Initialize();
        Register();
        form->Show();
        Items()->AddChild(Items()->Add(nullptr, "root"), "child");
        editor = GetComponentEditor(tree, &designer);
    }
    void TearDown() override
    {
        editor.reset();
        lxTreeView70::Finalize();
        FormWithTree::TearDown();
    }
    // Runs the command with the item editor answered by Result once it is up.
    void RunWithItemEditor(int Result, const std::function<void()>& Command)
    {
        bool ran = false;
        WhenModal<TlxTreeViewEditor>(
            [Result](TlxTreeViewEditor& dialog) {
                dialog.Tree->Items()->Add(nullptr, "added in the dialog");
                dialog.SetModalResult(Result);
            },
            &ran);
        Command();
        EXPECT_TRUE(ran);
    }

    TRecordingDesigner designer;
    std::unique_ptr<TComponentEditor> editor;
};

} // namespace

TEST_F(Registration, PutsTheTreeOnItsPageWithFiveCommands)
{
    Register(); // a second load registers nothing twice
    const TPaletteEntry* entry = FindPaletteEntry("TlxTreeView");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Page, "Vornak");
    int entries = 0;
    for (const TPaletteEntry& e : RegisteredComponents())
        entries += e.Class->Name == "TlxTreeView";
    EXPECT_EQ(entries, 1);

    ASSERT_NE(dynamic_cast<lxTreeViewRegister::TlxTreeViewEditor*>(editor.get()), nullptr);
    std::vector<std::string> verbs;
    for (int i = 0; i < editor->GetVerbCount(); ++i)
        verbs.push_back(editor->GetVerb(i));
    EXPECT_EQ(verbs, (std::vector<std::string>{"Edit nodes...", "Load from file...", "Save to file...", "Clear nodes",
                                               "About..."}));
    EXPECT_EQ(editor->GetVerb(5), "");
    EXPECT_EQ(editor->GetVerb(-1), "");
    editor->ExecuteVerb(5); // nothing
    EXPECT_EQ(designer.Modifications, 0);

    // A component of another class gets the default editor, without commands.
    TButton button(form.get());
    EXPECT_EQ(GetComponentEditor(&button, &designer)->GetVerbCount(), 0);
}

TEST_F(Registration, DoubleClickAndFirstCommandOpenTheItemEditor)
{
    RunWithItemEditor(mrOk, [&] { editor->Edit(); });
    EXPECT_EQ(designer.Modifications, 1);
    EXPECT_NE(Items()->GetFirstNode()->GetNextSibling(), nullptr); // the dialog's node came back
    RunWithItemEditor(mrOk, [&] { editor->ExecuteVerb(0); });
    EXPECT_EQ(designer.Modifications, 2);
    const std::string before = Bytes(tree);
    RunWithItemEditor(mrCancel, [&] { editor->Edit(); });
    EXPECT_EQ(designer.Modifications, 2);
    EXPECT_EQ(Bytes(tree), before);
}

TEST_F(Registration, ItemsPropertyOpensTheItemEditor)
{
    std::unique_ptr<TPropertyEditor> items = GetPropertyEditor(&designer, tree, "Items");
    ASSERT_NE(dynamic_cast<lxTreeViewRegister::TlxTreeViewNodesProperty*>(items.get()), nullptr);
    EXPECT_EQ(items->GetAttributes(), (TPropertyAttributes{paDialog, paReadOnly}));
    EXPECT_EQ(items->GetValue(), "(TlxTreeViewNodes)");
    EXPECT_EQ(reinterpret_cast<TlxTreeViewNodes*>(items->GetOrdValue()), Items());

    RunWithItemEditor(mrCancel, [&] { items->Edit(); });
    EXPECT_EQ(designer.Modifications, 0);
    RunWithItemEditor(mrOk, [&] { items->Edit(); });
    EXPECT_EQ(designer.Modifications, 1);
    EXPECT_EQ(Items()->GetFirstNode()->GetNextSibling()->Text(), "added in the dialog");

    // Other properties keep the plain editors.
    EXPECT_EQ(dynamic_cast<lxTreeViewRegister::TlxTreeViewNodesProperty*>(
                  GetPropertyEditor(&designer, tree, "Color").get()),
              nullptr);
    EXPECT_EQ(GetPropertyEditor(&designer, tree, "NoSuchProperty"), nullptr);
}

TEST_F(Registration, ClearNodesEmptiesTheTreeAtOnce)
{
    editor->ExecuteVerb(3);
    EXPECT_EQ(Items()->Count(), 0);
    EXPECT_EQ(designer.Modifications, 1);
}

TEST_F(Registration, SaveWritesTheBinaryTreeWhicheverFilterAndRemembersTheFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tree.txt");
    TFileAnswers answers([&](TOpenDialog& Dialog) {
        Dialog.SetFilterIndex(2); // "Text files (*.txt)"
        Dialog.SetFileName(path.toStdString());
        return true;
    });
    editor->ExecuteVerb(2);
    ASSERT_EQ(answers.Asked.size(), 1u);
    EXPECT_EQ(answers.Filters[0], "lxTreeView files (*.lxt)|*.lxt|Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(answers.DefaultExts[0], "txt");
    EXPECT_EQ(answers.InitialDirs[0], "");
    EXPECT_EQ(answers.Options[0], (TOpenOptions{ofOverwritePrompt, ofPathMustExist}));
    EXPECT_EQ(FileBytes(path), Bytes(tree));
    EXPECT_EQ(designer.Modifications, 0);
    EXPECT_EQ(lxTreeViewRegister::LastSaveDirectory(), dir.path().toStdString());

    editor->ExecuteVerb(2); // the next save starts where the last one went
    EXPECT_EQ(answers.InitialDirs[1], dir.path().toStdString());
}

TEST_F(Registration, LoadReadsTheFileAndCancelForgetsTheFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tree.lxt");
    const std::string saved = Bytes(tree);
    tree->SaveToFile(path.toStdString(), true);
    Items()->Clear();

    bool confirm = true;
    TFileAnswers answers([&](TOpenDialog& Dialog) {
        if (confirm)
            Dialog.SetFileName(path.toStdString());
        return confirm;
    });
    editor->ExecuteVerb(1);
    EXPECT_EQ(answers.Filters[0], "lxTreeView files (*.lxt)|*.lxt|All Files (*.*)|*.*");
    EXPECT_EQ(answers.DefaultExts[0], "lxt");
    EXPECT_EQ(answers.Options[0], (TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist}));
    EXPECT_EQ(Bytes(tree), saved);
    EXPECT_EQ(designer.Modifications, 1);
    EXPECT_EQ(lxTreeViewRegister::LastLoadDirectory(), dir.path().toStdString());

    confirm = false;
    editor->ExecuteVerb(1);
    EXPECT_EQ(answers.InitialDirs[1], dir.path().toStdString());
    EXPECT_EQ(Bytes(tree), saved);
    EXPECT_EQ(designer.Modifications, 1);
    EXPECT_EQ(lxTreeViewRegister::LastLoadDirectory(), "");
    editor->ExecuteVerb(1);
    EXPECT_EQ(answers.InitialDirs[2], "");
}

TEST_F(Registration, LoadingABadFileKeepsTheTreeAndTheFolder)
{
    QTemporaryDir dir, other;
    const QString good = dir.filePath("good.lxt"), bad = other.filePath("bad.lxt");
    tree->SaveToFile(good.toStdString(), true);
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes(tree).substr(0, 20).c_str(), 20); // a binary tree cut short
    file.close();

    QString answer = good;
    TFileAnswers answers([&](TOpenDialog& Dialog) {
        Dialog.SetFileName(answer.toStdString());
        return true;
    });
    editor->ExecuteVerb(1);
    ASSERT_EQ(designer.Modifications, 1);
    const std::string before = Bytes(tree);
    answer = bad;
    EXPECT_THROW(editor->ExecuteVerb(1), Exception);
    EXPECT_EQ(Bytes(tree), before);
    EXPECT_EQ(designer.Modifications, 1);
    EXPECT_EQ(lxTreeViewRegister::LastLoadDirectory(), dir.path().toStdString());
}

TEST_F(Registration, AboutShowsTheVersion)
{
    bool ran = false;
    WhenModal<TlxTreeAbout>(
        [](TlxTreeAbout& about) {
            EXPECT_EQ(about.Caption(), "About lxTreeView");
            EXPECT_NE(about.VersionLabel->Caption().find("2.3.1.16"), std::string::npos);
            QTest::mouseClick(about.OKButton->Button(), Qt::LeftButton);
        },
        &ran);
    editor->ExecuteVerb(4);
    EXPECT_TRUE(ran);
    EXPECT_EQ(designer.Modifications, 0);
}

TEST(Package, UnitsComeUpInOrderAndGoDownWithTheirState)
{
    const TPackageInfoTable& table = lxTreeView70::GetPackageInfoTable();
    EXPECT_EQ(table.Name, "lxTreeView70");
    EXPECT_FALSE(table.Description.empty());
    EXPECT_EQ(table.Requires, (std::vector<std::string>{"rtl70", "vcl70", "designide70"}));
    std::vector<std::string> units;
    for (const TPackageUnit& unit : table.Units)
        units.push_back(unit.Name);
    EXPECT_EQ(units, (std::vector<std::string>{"lxTreeAbout", "lxTreeView", "lxTreeViewEditor", "DesignIntf",
                                               "lxTreeViewRegister", "lxTreeView70"}));

    // A state of its own, so that what the fixture's tests do stays apart.
    std::vector<std::string> calls;
    static std::vector<std::string>* log = nullptr;
    log = &calls;
    const TPackageInfoTable recorded{"p", "d", {}, {{"a", [] { log->push_back("+a"); }, [] { log->push_back("-a"); }},
                                                    {"b", [] { log->push_back("+b"); }, [] { log->push_back("-b"); }}}};
    TPackageState state(recorded);
    state.Initialize();
    state.Initialize(); // loaded twice: once is enough
    state.Finalize();
    EXPECT_EQ(calls, (std::vector<std::string>{"+a", "+b"}));
    state.Finalize();
    EXPECT_EQ(calls, (std::vector<std::string>{"+a", "+b", "-b", "-a"}));
    EXPECT_FALSE(state.Initialized());

    // A unit that fails takes back the ones before it.
    calls.clear();
    const TPackageInfoTable failing{"f", "d", {}, {{"a", [] { log->push_back("+a"); }, [] { log->push_back("-a"); }},
                                                   {"b", [] { throw EInvalidOperation("b"); }, nullptr}}};
    TPackageState broken(failing);
    EXPECT_THROW(broken.Initialize(), EInvalidOperation);
    EXPECT_EQ(calls, (std::vector<std::string>{"+a", "-a"}));
    EXPECT_FALSE(broken.Initialized());
}

TEST(Package, FinalizingForgetsTheRememberedFolders)
{
    lxTreeView70::Initialize();
    TForm form(nullptr);
    auto* tree = new TlxTreeView(&form);
    tree->SetParent(&form);
    QTemporaryDir dir;
    const QString path = dir.filePath("t.lxt");
    {
        TFileAnswers answers([&](TOpenDialog& Dialog) {
            Dialog.SetFileName(path.toStdString());
            return true;
        });
        lxTreeViewRegister::TlxTreeViewEditor(tree, nullptr).ExecuteVerb(2);
    }
    EXPECT_EQ(lxTreeViewRegister::LastSaveDirectory(), dir.path().toStdString());
    lxTreeView70::Finalize();
    EXPECT_EQ(lxTreeViewRegister::LastSaveDirectory(), "");
}
