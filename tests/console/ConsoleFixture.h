#pragma once

#include "CDialog.h"
#include "CDozoZedApp.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"

#include <QDir>
#include <QList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class CDocManager;
class CDocTemplate;
class CDozoZedDoc;
class CSessionSheet;
class CVantroTree;

// A console without a real screen: message boxes and modal dialogs are answered by the test,
// this machine's address is 127.0.0.1, and the current directory and the default content folder
// are a fresh temporary folder holding the session pages.
class ConsoleFixture : public ::testing::Test
{
protected:
    using DialogScript = std::function<int(CDialog &)>;
    using SheetEdit = std::function<void(CSessionSheet &)>;

    ConsoleFixture();
    ~ConsoleFixture() override;

    void SetUp() override;
    void TearDown() override;

    // The next message boxes get these answers; later ones get their first button.
    void AnswerBoxes(const QList<int> &answers) { m_answers = answers; }
    QStringList BoxTexts() const;
    // The next modal dialog runs this script.
    void OnNextDialog(DialogScript script) { m_dialogs.append(std::move(script)); }
    // Presses OK; the dialog's result, which stays IDCANCEL while a field is refused.
    static int PressOK(CDialog &dialog);
    static void SetControlText(CDialog &dialog, int id, const QString &text);
    // The next Session Properties sheet gets the edit, then OK.
    void OnNextSheet(SheetEdit edit);

    // A session document made through the session template, with the sheet edited; null when
    // none was made.
    CDozoZedDoc *NewSession(SheetEdit edit = {});
    // A port nobody listens on now.
    static int FreePort();
    // Logs a user on from the source address under the alias; true when the server answered.
    bool Logon(int port, const QString &source, const QByteArray &alias = "Ann");
    // Fetches the path from the source address; the whole answer.
    static QByteArray Get(int port, const QString &source, const QByteArray &path);
    static void Settle();
    // Double-clicks the divider after the list's first column, which widens it to fit.
    static void DoubleClickHeaderDivider(class QTreeWidget *list);
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    // The texts of the tree's children under the item.
    static QStringList ChildTexts(const class QTreeWidgetItem *item);
    QByteArray LogBytes(const QString &name = QStringLiteral("Vantro.log")) const;

    QTemporaryDir m_dir;
    QString m_previousDirectory;
    std::unique_ptr<CDocManager> m_manager;
    CDocTemplate *m_sessionTemplate = nullptr;
    QList<MessageBoxRequest> m_boxes;
    QList<int> m_answers;
    QList<DialogScript> m_dialogs;
};

// Stands in for the operator window: records what it is asked to load.
class CRecordingOperator : public COperatorWindow
{
public:
    void Activate() override { }
    void OnOpenLocation() override { }
    bool Navigate(const QString &address) override
    {
        m_addresses.append(address);
        return true;
    }
    bool IsFollowing() const override { return m_following; }

    QStringList m_addresses;
    bool m_following = true;
};

// The whole application with its main frame and window types.
class AppFixture : public ConsoleFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    CVantroTree *AppTree() const;
    // The main frame's update pass, then the command's state.
    bool Enabled(int id);
    // The command, as the menu item or tool-bar button triggers it once the update pass ran.
    void Run(int id);
    // Every file dialog chooses the path.
    static void ChooseFile(const QString &path);
    // A session file in the test's folder on a free port; its path.
    QString SessionFile(const QString &name, const QStringList &scriptPaths = {});
    // The operator window type opens the recorder, counting the windows it opened.
    void UseRecordingOperator(CRecordingOperator &recorder);

    int m_operatorWindowsOpened = 0;

    std::unique_ptr<CDozoZedApp> m_app;
};
