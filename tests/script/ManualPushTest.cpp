// The Manual Push dialog in the whole console: users logged on from several loopback addresses,
// the dialog run through the main frame's command, and what each user's control page got.
#include "CDozoZedDoc.h"
#include "CListenSocket.h"
#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CRequestSocket.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CURLDlg.h"
#include "CUserTable.h"
#include "CdromDrive.h"
#include "ConsoleFixture.h"
#include "FileDialog.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class ManualPush : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseRecordingOperator(m_operator);
        const int port = FreePort();
        OnNextSheet([port](CSessionSheet &sheet) {
            sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
        });
        Run(ID_NEW_SESSION);
        ASSERT_NE(g_pSessionDoc, nullptr);
        m_port = g_pSessionDoc->m_pListenSocket->serverPort();
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        g_favorites.clear();
    }

    void LogOn(const QList<std::pair<QString, QByteArray>> &users)
    {
        for (const auto &[source, alias] : users)
            ASSERT_TRUE(Logon(m_port, source, alias)) << source.toStdString();
    }
    // Runs Manual Push with the script on the dialog; the dialog's result.
    int RunDialog(std::function<void(CURLDlg &)> script)
    {
        int result = 0;
        OnNextDialog([&result, script = std::move(script)](CDialog &dialog) {
            auto &push = dynamic_cast<CURLDlg &>(dialog);
            script(push);
            result = push.Result();
            return result;
        });
        Run(ID_MANUAL_PUSH);
        return result;
    }
    static QString LastPushed(const QString &key)
    {
        const QMutexLocker lock(&g_userTable.Lock());
        const CRequestSocket *user = g_userTable.Find(key);
        return user ? user->m_lastPushed : u"(gone)"_s;
    }
    static void Choose(CURLDlg &dialog, int radio, int edit, const QString &text)
    {
        dialog.Control<QAbstractButton>(radio)->click();
        dialog.Control<QLineEdit>(edit)->setText(text);
    }

    CRecordingOperator m_operator;
    int m_port = 0;
};

TEST_F(ManualPush, ARemoteAddressReachesEveryUserAndTheOperatorWindowGetsItAsTyped)
{
    LogOn({{u"127.0.0.2"_s, "Ann"}, {u"127.0.0.3"_s, "Bo"}});
    Run(ID_VIEW_OPERATOR);
    const int result = RunDialog([](CURLDlg &dialog) {
        // Folded, every user selected: the list is off but its selection counts.
        EXPECT_FALSE(dialog.UsersList()->isEnabled());
        EXPECT_EQ(dialog.UsersList()->selectedItems().size(), 2);
        Choose(dialog, IDC_REMOTE, IDC_REMOTE_TEXT, u"example.org/talk"_s);
        dialog.OnOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_operator.m_addresses, QStringList {u"example.org/talk"_s});
    for (const QString &key : {u"127.0.0.2"_s, u"127.0.0.3"_s})
        EXPECT_EQ(LastPushed(key), u"http://example.org/talk"_s) << key.toStdString();
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, u"http://example.org/talk"_s);
}

TEST_F(ManualPush, LocalAndCdromPushesReachOnlyTheChosenUsers)
{
    LogOn({{u"127.0.0.2"_s, "Ann"}, {u"127.0.0.3"_s, "Bo"}, {u"127.0.0.4"_s, "Ann"}});
    CPushDispatcher::lastPushedAddress = u"http://before"_s;
    // Both Anns get the page, each its own; Bo is deselected.
    RunDialog([](CURLDlg &dialog) {
        dialog.OnShowUsers();
        dialog.UsersList()->topLevelItem(1)->setSelected(false);
        Choose(dialog, IDC_LOCAL, IDC_LOCAL_TEXT, u"talks\\2024\\intro.htm"_s);
        dialog.OnOK();
    });
    EXPECT_EQ(LastPushed(u"127.0.0.2"_s), u"talks/2024/intro.htm"_s);
    EXPECT_EQ(LastPushed(u"127.0.0.3"_s), u"/welcome.htm"_s);
    EXPECT_EQ(LastPushed(u"127.0.0.4"_s), u"talks/2024/intro.htm"_s);
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, QString());

    RunDialog([](CURLDlg &dialog) {
        dialog.OnShowUsers();
        dialog.UsersList()->topLevelItem(0)->setSelected(false);
        dialog.UsersList()->topLevelItem(2)->setSelected(false);
        Choose(dialog, IDC_CDROM, IDC_CDROM_TEXT, u"movies/intro.mov"_s);
        dialog.OnOK();
    });
    EXPECT_EQ(LastPushed(u"127.0.0.3"_s), u"VC127.0.0.3.htm"_s);
    const QByteArray finder
        = ReadFileBytes(QDir(g_pSessionDoc->m_options.m_rootFolder).filePath(u"VC127.0.0.3.htm"_s));
    EXPECT_TRUE(finder.contains("document.write (\"/movies/intro.mov\\\", WIDTH=240"))
        << finder.constData();
    EXPECT_EQ(LastPushed(u"127.0.0.2"_s), u"talks/2024/intro.htm"_s);
}

TEST_F(ManualPush, VantroItWaitsForAUserAndTextAndUnfoldingIsOneWay)
{
    RunDialog([](CURLDlg &dialog) {
        Choose(dialog, IDC_REMOTE, IDC_REMOTE_TEXT, u"example.org"_s);
        dialog.OnEnableTimer();
        EXPECT_FALSE(dialog.PushButton()->isEnabled()) << "no user";
        dialog.OnOK();
        EXPECT_EQ(dialog.Result(), IDCANCEL);
    });
    LogOn({{u"127.0.0.2"_s, "Ann"}});
    g_favorites.append(std::make_shared<CFavorite>(u"Docs"_s, u"http://docs.example/"_s));
    RunDialog([this](CURLDlg &dialog) {
        const int foldedHeight = dialog.height();
        dialog.OnEnableTimer();
        EXPECT_FALSE(dialog.PushButton()->isEnabled()) << "empty text";
        dialog.OnShowUsers();
        EXPECT_FALSE(dialog.Control<QAbstractButton>(IDC_SHOW_USERS)->isEnabled());
        EXPECT_TRUE(dialog.UsersList()->isEnabled());
        EXPECT_GT(dialog.height(), foldedHeight);
        // The radio rule, then the favorite and the local file chosen through their dialogs.
        dialog.Control<QAbstractButton>(IDC_LOCAL)->click();
        EXPECT_FALSE(dialog.Control<QWidget>(IDC_REMOTE_TEXT)->isEnabled());
        EXPECT_TRUE(dialog.Control<QWidget>(IDC_BROWSE_LOCAL)->isEnabled());
        EXPECT_FALSE(dialog.Control<QWidget>(IDC_BROWSE_CDROM)->isEnabled());
        ChooseFile(Path(u"sub/page.htm"_s));
        dialog.OnBrowseLocal();
        EXPECT_EQ(dialog.Control<QLineEdit>(IDC_LOCAL_TEXT)->text(), u"page.htm"_s);
        OnNextDialog([](CDialog &favorites) { return PressOK(favorites); });
        dialog.OnFavorites();
        EXPECT_EQ(dialog.Control<QLineEdit>(IDC_REMOTE_TEXT)->text(), u"http://docs.example/"_s);
        dialog.OnEnableTimer();
        EXPECT_TRUE(dialog.PushButton()->isEnabled());
        dialog.Control<QAbstractButton>(IDC_DESELECT_ALL)->click();
        dialog.OnEnableTimer();
        EXPECT_FALSE(dialog.PushButton()->isEnabled()) << "nobody selected";
        EXPECT_FALSE(dialog.Control<QAbstractButton>(IDC_SHOW_USERS)->isEnabled());
        dialog.OnCancel();
    });
    EXPECT_EQ(LastPushed(u"127.0.0.2"_s), u"/welcome.htm"_s);
}

TEST(CdromDrive, TheFirstOpticalMediumInMountOrderAndPathsRelativeToIt)
{
    const auto isOptical = [](const QString &device) {
        return device == u"/dev/sr1"_s;
    };
    const struct
    {
        QByteArray mounts;
        QString mountPoint;
    } cases[] = {
        {"/dev/sda1 / ext4 rw 0 0\n", QString()},
        {"/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd\\040one iso9660 ro 0 0\n"
         "/dev/sr2 /media/dvd udf ro 0 0\n",
         u"/media/cd one"_s},
        {"/dev/sr1 /mnt/audio fuse.cdfs ro 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n",
         u"/mnt/audio"_s},
        {"garbage\n\n/dev/sr0 /media/dvd udf ro 0 0", u"/media/dvd"_s},
    };
    for (const auto &item : cases)
        EXPECT_EQ(FirstOpticalMount(item.mounts, isOptical), item.mountPoint)
            << item.mounts.constData();
    EXPECT_EQ(PathOnMedium(u"/media/cd/movies/intro.mov"_s, u"/media/cd"_s), u"movies/intro.mov"_s);
    EXPECT_EQ(PathOnMedium(u"/media/cdx/intro.mov"_s, u"/media/cd/"_s), u"/media/cdx/intro.mov"_s);
    EXPECT_EQ(PathOnMedium(u"/home/a.mov"_s, QString()), u"/home/a.mov"_s);
}

} // namespace
