// The Session Properties sheet and the Workstation Settings dialog: validation, the forced
// log-file flag, the mode description and the content-folder question.
#include "CSessionClientPage.h"
#include "CSessionPagesPage.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CSvrOptions.h"
#include "CWorkstationDlg.h"
#include "ConsoleFixture.h"
#include "ResourceIds.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

const QString kWorkstationText
    = u"Workstation mode allows you to use your computer as a Vantro Server."_s;
const QString kCallCenterText
    = u"Call Center mode allows you to use a Vantro Call Center Server."_s;

class Properties : public ConsoleFixture
{
protected:
    // A sheet ready to use, as DoModal leaves it, over the settings.
    void Open(const CSvrOptions &options)
    {
        m_sheet.LoadFrom(options);
        OnNextDialog([](CDialog &) { return static_cast<int>(IDCANCEL); });
        m_sheet.DoModal();
    }
    // OK with the field's text; the refusal message, or empty when the sheet accepted.
    QString TryClientField(int id, const QString &text)
    {
        m_boxes.clear();
        SetControlText(*m_sheet.m_pClientPage, id, text);
        m_sheet.OnOK();
        return m_sheet.Result() == IDOK ? QString() : BoxTexts().value(0, u"(no box)"_s);
    }

    CSessionSheet m_sheet;
};

TEST_F(Properties, SheetHasItsCaptionAndPagesInOrder)
{
    EXPECT_EQ(m_sheet.windowTitle(), u"Session Properties"_s);
    ASSERT_EQ(m_sheet.GetPageCount(), 3);
    EXPECT_EQ(m_sheet.GetPage(0)->Caption(), u"Server"_s);
    EXPECT_EQ(m_sheet.GetPage(1)->Caption(), u"Client"_s);
    EXPECT_EQ(m_sheet.GetPage(2)->Caption(), u"Default Pages"_s);
}

// A label shows its "&" as an underline only when it has a partner to give the focus to.
TEST_F(Properties, EveryLabelWithAMnemonicHasAPartner)
{
    CWorkstationDlg workstation;
    for (QWidget *window :
         {static_cast<QWidget *>(m_sheet.GetPage(2)), static_cast<QWidget *>(&workstation)}) {
        const QList<QLabel *> labels = window->findChildren<QLabel *>();
        ASSERT_FALSE(labels.isEmpty());
        for (const QLabel *label : labels) {
            EXPECT_TRUE(!label->text().contains(u'&') || label->buddy())
                << qPrintable(label->text());
        }
    }
}

TEST_F(Properties, RefreshAndDelayOutsideTheirRangesAreRefused)
{
    Open(CSvrOptions());
    EXPECT_EQ(TryClientField(IDC_REFRESH, u"0"_s), u"Please enter an integer between 1 and 9."_s);
    EXPECT_EQ(m_sheet.GetActivePage(), m_sheet.m_pClientPage);
    EXPECT_EQ(TryClientField(IDC_REFRESH, u"10"_s), u"Please enter an integer between 1 and 9."_s);
    EXPECT_EQ(TryClientField(IDC_REFRESH, u"fast"_s), u"Please enter an integer."_s);
    SetControlText(*m_sheet.m_pClientPage, IDC_REFRESH, u"9"_s);
    EXPECT_EQ(TryClientField(IDC_DOWNLOAD_DELAY, u"0"_s),
              u"Please enter an integer between 1 and 10."_s);
    EXPECT_EQ(TryClientField(IDC_DOWNLOAD_DELAY, u"11"_s),
              u"Please enter an integer between 1 and 10."_s);
    EXPECT_EQ(TryClientField(IDC_DOWNLOAD_DELAY, u"10"_s), QString());
    CSvrOptions stored;
    m_sheet.StoreInto(stored);
    EXPECT_EQ(stored.m_refreshSecs, 9);
    EXPECT_EQ(stored.m_downloadDelaySecs, 10);
}

TEST_F(Properties, RefusedFieldTakesTheFocusWithItsTextSelected)
{
    m_sheet.show();
    Open(CSvrOptions());
    m_sheet.activateWindow();
    TryClientField(IDC_DOWNLOAD_DELAY, u"11"_s);
    QLineEdit *edit = m_sheet.m_pClientPage->Control<QLineEdit>(IDC_DOWNLOAD_DELAY);
    EXPECT_EQ(edit->selectedText(), u"11"_s);
    EXPECT_EQ(m_sheet.focusWidget(), edit);
}

TEST_F(Properties, LogFileFlagIsShownCheckedAndStoredOn)
{
    CSvrOptions options;
    options.m_logEnabled = 0;
    Open(options);
    auto *box = m_sheet.m_pServerPage->Control<QAbstractButton>(IDC_LOG_ENABLED);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(m_sheet.m_pServerPage->Control<QLineEdit>(IDC_LOG_FILE)->isEnabled());
    EXPECT_FALSE(m_sheet.m_pServerPage->Control<QWidget>(IDC_BROWSE_LOG)->isEnabled());
    EXPECT_EQ(PressOK(m_sheet), IDOK);
    CSvrOptions stored;
    m_sheet.StoreInto(stored);
    EXPECT_EQ(stored.m_logEnabled, 1);
}

TEST_F(Properties, UncheckingTheLogFileDisablesItsField)
{
    Open(CSvrOptions());
    auto *box = m_sheet.m_pServerPage->Control<QAbstractButton>(IDC_LOG_ENABLED);
    box->click();
    EXPECT_FALSE(m_sheet.m_pServerPage->Control<QLineEdit>(IDC_LOG_FILE)->isEnabled());
}

TEST_F(Properties, DescriptionFollowsTheCheckedMode)
{
    Open(CSvrOptions());
    CSessionServerPage &page = *m_sheet.m_pServerPage;
    EXPECT_TRUE(page.Control<QAbstractButton>(IDC_WORKSTATION_MODE)->isChecked());
    EXPECT_EQ(page.Control<QLabel>(IDC_MODE_DESCRIPTION)->text(), kWorkstationText);
    EXPECT_TRUE(page.Control<QWidget>(IDC_WORKSTATION_SETTINGS)->isEnabled());
    EXPECT_FALSE(page.Control<QWidget>(IDC_CALLCENTER_SETTINGS)->isEnabled());
    EXPECT_TRUE(page.Control<QWidget>(IDC_CALLCENTER_MODE)->isEnabled());
}

TEST_F(Properties, CallCenterSessionShowsItsModeAndKeepsIt)
{
    CSvrOptions options;
    options.m_callCenterMode = 1;
    Open(options);
    CSessionServerPage &page = *m_sheet.m_pServerPage;
    EXPECT_TRUE(page.Control<QAbstractButton>(IDC_CALLCENTER_MODE)->isChecked());
    EXPECT_EQ(page.Control<QLabel>(IDC_MODE_DESCRIPTION)->text(), kCallCenterText);
    EXPECT_FALSE(page.Control<QWidget>(IDC_WORKSTATION_SETTINGS)->isEnabled());
    EXPECT_TRUE(page.Control<QWidget>(IDC_CALLCENTER_SETTINGS)->isEnabled());
    EXPECT_EQ(PressOK(m_sheet), IDOK);
    EXPECT_EQ(page.m_callCenterMode, 1);
}

TEST_F(Properties, DefaultPagesAreShownButCannotChange)
{
    CSvrOptions options;
    options.m_welcomePage = u"\\hello.htm"_s;
    Open(options);
    CSessionPagesPage &page = *m_sheet.m_pPagesPage;
    for (const int id : {IDC_LOGON_PAGE, IDC_LOGOFF_PAGE, IDC_BUSY_PAGE, IDC_WELCOME_PAGE,
                         IDC_BROWSE_LOGON, IDC_BROWSE_LOGOFF, IDC_BROWSE_BUSY, IDC_BROWSE_WELCOME})
        EXPECT_FALSE(page.Control<QWidget>(id)->isEnabled()) << id;
    EXPECT_EQ(page.Control<QLineEdit>(IDC_WELCOME_PAGE)->text(), u"\\hello.htm"_s);
    EXPECT_EQ(page.Control<QLineEdit>(IDC_LOGON_PAGE)->maxLength(), 2048);
    EXPECT_EQ(PressOK(m_sheet), IDOK);
    CSvrOptions stored;
    m_sheet.StoreInto(stored);
    EXPECT_EQ(stored.m_welcomePage, u"\\hello.htm"_s);
    EXPECT_EQ(stored.m_logonPage, options.m_logonPage);
}

TEST_F(Properties, WorkstationSettingsCarryFolderAndPortBackToThePage)
{
    Open(CSvrOptions());
    const QString folder = Path(u"content"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    OnNextDialog([folder](CDialog &dialog) {
        SetControlText(dialog, IDC_ROOT_FOLDER, folder);
        SetControlText(dialog, IDC_PORT, u"8123"_s);
        return PressOK(dialog);
    });
    m_sheet.m_pServerPage->Control<QAbstractButton>(IDC_WORKSTATION_SETTINGS)->click();
    EXPECT_EQ(m_sheet.m_pServerPage->m_rootFolder, folder);
    EXPECT_EQ(m_sheet.m_pServerPage->m_port, 8123u);
    EXPECT_EQ(QDir::currentPath(), folder);
}

TEST_F(Properties, CallCenterSettingsCarryTheirThreeFields)
{
    CSvrOptions options;
    options.m_callCenterMode = 1;
    Open(options);
    OnNextDialog([](CDialog &dialog) {
        SetControlText(dialog, IDC_OPERATOR_NAME, u"Eve"_s);
        SetControlText(dialog, IDC_CALLCENTER_SERVER, u"192.0.2.1"_s);
        SetControlText(dialog, IDC_CALLCENTER_PATH, u"cgi/cc"_s);
        return PressOK(dialog);
    });
    m_sheet.m_pServerPage->Control<QAbstractButton>(IDC_CALLCENTER_SETTINGS)->click();
    EXPECT_EQ(m_sheet.m_pServerPage->m_operatorName, u"Eve"_s);
    EXPECT_EQ(m_sheet.m_pServerPage->m_callCenterServer, u"192.0.2.1"_s);
    EXPECT_EQ(m_sheet.m_pServerPage->m_callCenterPath, u"cgi/cc"_s);
}

class Workstation : public ConsoleFixture
{
protected:
    int Run(const QString &folder, const QString &port = u"80"_s)
    {
        m_dialog.m_rootFolder = folder;
        OnNextDialog([port](CDialog &dialog) {
            SetControlText(dialog, IDC_PORT, port);
            return PressOK(dialog);
        });
        return m_dialog.DoModal();
    }

    CWorkstationDlg m_dialog;
};

TEST_F(Workstation, MissingFolderAndNoStaysOpenWithoutMakingIt)
{
    const QString folder = Path(u"new"_s);
    AnswerBoxes({IDNO});
    EXPECT_EQ(Run(folder), IDCANCEL);
    EXPECT_EQ(BoxTexts(),
              QStringList {u"Local content path does not exist?  Would you like to create it?"_s});
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(Workstation, MissingFolderAndYesMakesIt)
{
    const QString folder = Path(u"new"_s);
    AnswerBoxes({IDYES});
    EXPECT_EQ(Run(folder, u"8080"_s), IDOK);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(m_dialog.m_rootFolder, folder);
    EXPECT_EQ(m_dialog.m_port, 8080u);
    EXPECT_EQ(QDir::currentPath(), m_dir.path());
}

TEST_F(Workstation, FolderThatCannotBeMadeIsNamedAndTheDialogStaysOpen)
{
    const QString folder = Path(u"a/b"_s);
    AnswerBoxes({IDYES});
    EXPECT_EQ(Run(folder), IDCANCEL);
    ASSERT_EQ(m_boxes.size(), 2);
    EXPECT_EQ(m_boxes[1].text,
              "Could not create \""_L1 + folder + "\"\nPlease specify another path."_L1);
    EXPECT_EQ(m_dialog.Control<QLineEdit>(IDC_ROOT_FOLDER)->selectedText(), folder);
}

TEST_F(Workstation, HelpOpensItsTopicInAWindowTheModalDialogDoesNotBlock)
{
    m_dialog.setWindowModality(Qt::ApplicationModal);
    m_dialog.show();
    m_dialog.Control<QAbstractButton>(IDC_WORKSTATION_HELP)->click();
    const auto *help = m_dialog.findChild<QTextBrowser *>();
    ASSERT_NE(help, nullptr) << "the help window belongs to the dialog that blocks the others";
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->windowTitle(), u"Vantro Help: Workstation Settings"_s);
    EXPECT_TRUE(help->toPlainText().contains(u"Local Content"_s));
    m_dialog.hide();
}

TEST_F(Workstation, PortMustBeAPositiveInteger)
{
    EXPECT_EQ(Run(m_dir.path(), u"-5"_s), IDCANCEL);
    EXPECT_EQ(BoxTexts(), QStringList {u"Please enter a positive integer."_s});
    EXPECT_EQ(m_dialog.m_port, 80u);
    m_boxes.clear();
    // A port beyond 16 bits would wrap to another one.
    EXPECT_EQ(Run(m_dir.path(), u"70000"_s), IDCANCEL);
    EXPECT_EQ(BoxTexts(), QStringList {u"Please enter an integer between 0 and 65535."_s});
}

} // namespace
