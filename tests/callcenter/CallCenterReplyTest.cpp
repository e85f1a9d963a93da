// The call-center reply parser and the command texts: pure functions, one table each.
#include "CallCenterReply.h"
#include "CCallCmds.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ReplyCase
{
    const char *name;
    QByteArray reply;
    int fields;
    bool holdsRecords;
    QList<QStringList> records;
};

QByteArray Repeated(const QByteArray &record, int times)
{
    QByteArray reply = "#A:";
    for (int i = 0; i < times; ++i)
        reply += record;
    return reply;
}

const QStringList kDoe = {u"1.2.3.4"_s, u"Mr. Doe"_s,   u"MSIE 4.01"_s, u"4.01"_s,
                          u"x"_s,       u"/page.htm"_s, u"y"_s,         u"z"_s};

} // namespace

TEST(CallCenterReply, ReadsCompleteRecordsAndDropsWhatIsMalformed)
{
    const QByteArray longField(100 * 1024, 'n');
    const QByteArray nul(1, '\0');
    const QByteArray binary = "#C:" + nul + "\x01\xff," + "\x80\n name" + nul + "," + nul + ";";
    const QStringList binaryFields = {QString(QChar(0)) + QChar(1) + QChar(0xFF),
                                      QChar(0x20AC) + u"\n name"_s + QChar(0), QString(QChar(0))};
    const ReplyCase cases[] = {
        {"assigned example", "#A:1.2.3.4,Mr. Doe,MSIE 4.01,4.01,x,/page.htm,y,z;", 8, true, {kDoe}},
        {"no records", "#A;", 8, false, {}},
        {"no waiting records", "#C;", 3, false, {}},
        {"either letter for either poll",
         "#Cx1.2.3.4,Mr. Doe,MSIE 4.01,4.01,x,/page.htm,y,z;",
         8,
         true,
         {kDoe}},
        {"too short", "#A", 3, false, {}},
        {"empty", "", 3, false, {}},
        {"another letter", "#B:k,n,t;", 3, false, {}},
        {"no hash", " #A:k,n,t;", 3, false, {}},
        {"header only", "#A:", 3, true, {}},
        {"third record stops after five fields",
         "#A:a,A,b,4.0,x,/1,y,z,c,C,b,3.0,x,/2,y,z,d,D,b,4.0,x;",
         8,
         true,
         {{u"a"_s, u"A"_s, u"b"_s, u"4.0"_s, u"x"_s, u"/1"_s, u"y"_s, u"z"_s},
          {u"c"_s, u"C"_s, u"b"_s, u"3.0"_s, u"x"_s, u"/2"_s, u"y"_s, u"z"_s}}},
        {"data end the last record", "#C:k,n,t", 3, true, {{u"k"_s, u"n"_s, u"t"_s}}},
        {"data end inside a record", "#C:k,n,t,k2,n2", 3, true, {{u"k"_s, u"n"_s, u"t"_s}}},
        {"semicolon ends early", "#C:k,n;t,k2,n2,t2;", 3, true, {}},
        {"what follows the last field is not read",
         "#C:k,n,t;k2,n2,t2;",
         3,
         true,
         {{u"k"_s, u"n"_s, u"t"_s}}},
        {"spaces and line ends stay",
         "#C: k ,\r\nn, t\n;",
         3,
         true,
         {{u" k "_s, u"\r\nn"_s, u" t\n"_s}}},
        {"empty fields", "#C:,,;", 3, true, {{QString(), QString(), QString()}}},
        {"binary bytes and NULs", binary, 3, true, {binaryFields}},
        {"a field of 100 KB keeps its first bytes",
         "#C:k," + longField + ",t;",
         3,
         true,
         {{u"k"_s, QString(kMaxFieldBytes, u'n'), u"t"_s}}},
        {"records beyond the bound are ignored", Repeated("k,n,t,", 150), 3, true,
         QList<QStringList>(kMaxRecords, {u"k"_s, u"n"_s, u"t"_s})},
    };
    for (const ReplyCase &test : cases) {
        SCOPED_TRACE(test.name);
        const CCallCenterReply parsed = ParseCallCenterReply(test.reply, test.fields);
        EXPECT_EQ(parsed.m_holdsRecords, test.holdsRecords);
        EXPECT_EQ(parsed.m_records, test.records);
    }
}

TEST(CallCenterCommands, QueriesCarryTheSessionsSettings)
{
    struct CommandCase
    {
        const char *name;
        std::function<void(CSvrOptions &)> edit;
        CCallCmds::Command command;
        QString key;
        QString query;
    };
    const auto none = [](CSvrOptions &) {
    };
    const CommandCase cases[] = {
        {"status on", none, CCallCmds::StatusOn, {}, u"?ws=1&S=1 I Tobrin Vale 5 5 0 0"_s},
        {"status off", none, CCallCmds::StatusOff, {}, u"?ws=1&S=0 I Tobrin Vale 5 5 0 0"_s},
        {"numbers written whole",
         [](CSvrOptions &options) {
             options.m_refreshSecs = 12;
             options.m_downloadDelaySecs = 10;
         },
         CCallCmds::StatusOn,
         {},
         u"?ws=1&S=1 I Tobrin Vale 12 10 0 0"_s},
        {"only FALSE is false",
         [](CSvrOptions &options) {
             options.m_playEveryFrame = u"TRUE"_s;
             options.m_autoPlay = u"false"_s;
         },
         CCallCmds::StatusOn,
         {},
         u"?ws=1&S=1 I Tobrin Vale 5 5 1 1"_s},
        {"the session's operator",
         [](CSvrOptions &options) { options.m_operatorName = u"Ann Lee"_s; },
         CCallCmds::StatusOff,
         {},
         u"?ws=1&S=0 I Ann Lee 5 5 0 0"_s},
        {"claim", none, CCallCmds::CommandX, u"10.0.0.7"_s, u"?ws=1&X=1 C 10.0.0.7 Tobrin Vale"_s},
        {"ready", none, CCallCmds::CommandR, {}, u"?ws=1&R=1"_s},
    };
    for (const CommandCase &test : cases) {
        SCOPED_TRACE(test.name);
        CSvrOptions options;
        test.edit(options);
        CCallCmds command(options);
        command.Build(test.command, test.key);
        EXPECT_EQ(command.m_command.toUtf8(), test.query.toUtf8());
    }
}
