#include "network/PrinterProtocol.h"
#include "network/DiscoveryTarget.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>

#include "NamedCase.h"

#include <gtest/gtest.h>

using namespace PrinterProtocol;

namespace
{

QByteArray lengths(qint32 outer, quint32 inner)
{
    QByteArray out(8, '\0');
    qToBigEndian<qint32>(outer, out.data());
    qToBigEndian<quint32>(inner, out.data() + 4);
    return out;
}

} // namespace

// --- discovery ---------------------------------------------------------------------------------

struct DatagramCase {
    const char *name;
    QByteArray datagram;
    bool isAnswer;
};
NAMED_CASE(DatagramCase)

class DiscoveryAnswer : public ::testing::TestWithParam<DatagramCase>
{
};

TEST_P(DiscoveryAnswer, MatchesUpToTheFirstZeroByte)
{
    EXPECT_EQ(isDiscoveryAnswer(GetParam().datagram), GetParam().isAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, DiscoveryAnswer,
    ::testing::Values(DatagramCase{"exact", QByteArray("There Are Dlp Device!"), true},
                      DatagramCase{"zeroThenMore", QByteArray("There Are Dlp Device!\0junk", 26),
                                   true},
                      DatagramCase{"trailingSpace", QByteArray("There Are Dlp Device! "), false},
                      DatagramCase{"truncated", QByteArray("There Are Dlp Device"), false},
                      DatagramCase{"otherCase", QByteArray("there are dlp device!"), false},
                      DatagramCase{"ownQuestion", QByteArray("Is Dlp Device?"), false},
                      DatagramCase{"leadingZero", QByteArray("\0There Are Dlp Device!", 22), false},
                      DatagramCase{"empty", QByteArray(), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Discovery, QuestionAndAnswerHaveTheirFixedLengths)
{
    EXPECT_EQ(discoveryQuestion(), QByteArray("Is Dlp Device?"));
    EXPECT_EQ(discoveryQuestion().size(), 14);
    EXPECT_EQ(discoveryAnswer().size(), 21);
}

// --- framing -----------------------------------------------------------------------------------

TEST(Frame, EncodesBothLengthsBigEndianThenThePayload)
{
    const QByteArray frame = encodeFrame("link");
    EXPECT_EQ(frame.toHex(), QByteArray("00000004000000046c696e6b"));
    EXPECT_EQ(encodeFrame(QByteArray()).size(), 8);
}

TEST(Frame, EverySplitPointDeliversTheFrameOnceAndComplete)
{
    const QByteArray wire = encodeFrame("dev_infos serial:A") + encodeFrame("isalive");
    for (int cut = 0; cut <= wire.size(); ++cut) {
        FrameDecoder decoder;
        QList<QByteArray> frames;
        ASSERT_EQ(decoder.feed(wire.left(cut), &frames), FrameDecoder::Status::Ok);
        ASSERT_EQ(decoder.feed(wire.mid(cut), &frames), FrameDecoder::Status::Ok);
        ASSERT_EQ(frames.size(), 2) << "cut at " << cut;
        EXPECT_EQ(frames[0], QByteArray("dev_infos serial:A"));
        EXPECT_EQ(frames[1], QByteArray("isalive"));
        EXPECT_EQ(decoder.pending(), 0);
    }
}

TEST(Frame, ByteByByteDelivery)
{
    const QByteArray wire = encodeFrame("linked 7778 enablecheckalive");
    FrameDecoder decoder;
    QList<QByteArray> frames;
    for (const char c : wire)
        ASSERT_EQ(decoder.feed(QByteArray(1, c), &frames), FrameDecoder::Status::Ok);
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0], QByteArray("linked 7778 enablecheckalive"));
}

TEST(Frame, ZeroLengthFrameIsDeliveredEmpty)
{
    FrameDecoder decoder;
    QList<QByteArray> frames;
    decoder.feed(encodeFrame(QByteArray()) + encodeFrame("x"), &frames);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_TRUE(frames[0].isEmpty());
}

TEST(Frame, InnerLengthMismatchDropsOnlyThatPayload)
{
    FrameDecoder decoder;
    QList<QByteArray> frames;
    EXPECT_EQ(decoder.feed(lengths(3, 4) + "abc" + encodeFrame("next"), &frames),
              FrameDecoder::Status::Ok);
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0], QByteArray("next"));
}

struct BadLengthCase {
    const char *name;
    qint32 length;
};
NAMED_CASE(BadLengthCase)

class FrameBadLength : public ::testing::TestWithParam<BadLengthCase>
{
};

TEST_P(FrameBadLength, StopsTheStreamWithAReason)
{
    FrameDecoder decoder;
    QList<QByteArray> frames;
    QByteArray wire = encodeFrame("first") + lengths(GetParam().length, 0) + encodeFrame("late");
    EXPECT_EQ(decoder.feed(wire, &frames), FrameDecoder::Status::BadLength);
    ASSERT_EQ(frames.size(), 1); // what came before is still delivered
    EXPECT_TRUE(decoder.error().contains(QString::number(GetParam().length)));
    // Nothing after the bad length is ever read as a frame.
    EXPECT_EQ(decoder.feed(encodeFrame("more"), &frames), FrameDecoder::Status::BadLength);
    EXPECT_EQ(frames.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FrameBadLength,
                         ::testing::Values(BadLengthCase{"negative", -5},
                                           BadLengthCase{"minusOne", -1},
                                           BadLengthCase{"aboveMaximum", kMaxMessage + 1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Frame, MaximumLengthIsAccepted)
{
    FrameDecoder decoder;
    QList<QByteArray> frames;
    EXPECT_EQ(decoder.feed(lengths(kMaxMessage, kMaxMessage), &frames), FrameDecoder::Status::Ok);
    EXPECT_TRUE(frames.isEmpty());
}

// --- binary messages ---------------------------------------------------------------------------

TEST(Binary, CodeIsLittleEndianAfterTheMarker)
{
    const QByteArray message = encodeBinary(BinaryCode::HolderQuery);
    EXPECT_EQ(message.toHex(), QByteArray("ffffffff0d000000"));
    qint32 code = 0;
    QByteArray body;
    ASSERT_TRUE(decodeBinary(message, &code, &body));
    EXPECT_EQ(code, 13);
    EXPECT_TRUE(body.isEmpty());
    EXPECT_FALSE(decodeBinary(QByteArray("\xff\xff\xff\xff\x01", 5), &code, &body));
    EXPECT_FALSE(isBinary("dev_infos"));
}

TEST(Binary, DetailsRecordDecodesEveryField)
{
    PrinterDetails d;
    d.value1 = 7;
    d.value2 = -2;
    d.value3 = 65536;
    d.boardAId = QStringLiteral("A-01");
    d.unused1 = QStringLiteral("x");
    d.boardAVersion = QStringLiteral("0.3.1.0");
    d.boardBVersion = QStringLiteral("0.3.0.2");
    d.unused2 = QStringLiteral("y");
    d.unusedMap.insert(QStringLiteral("k"), 42);
    d.boardBId = QStringLiteral("B-01");
    d.controlSerial = QStringLiteral("控制-9");
    d.controlVersion = QStringLiteral("1.0.7");
    const QByteArray bytes = encodeDetails(d);
    // Data-stream 5.2 layout: big-endian int32s, then strings as byte length + UTF-16BE.
    EXPECT_EQ(bytes.left(12).toHex(), QByteArray("00000007fffffffe00010000"));
    EXPECT_EQ(bytes.mid(12, 4).toHex(), QByteArray("00000008"));
    PrinterDetails read;
    ASSERT_TRUE(decodeDetails(bytes, &read));
    EXPECT_EQ(read.value1, 7);
    EXPECT_EQ(read.value2, -2);
    EXPECT_EQ(read.value3, 65536);
    EXPECT_EQ(read.boardAId, d.boardAId);
    EXPECT_EQ(read.boardAVersion, d.boardAVersion);
    EXPECT_EQ(read.boardBVersion, d.boardBVersion);
    EXPECT_EQ(read.unusedMap.value(QStringLiteral("k")).toInt(), 42);
    EXPECT_EQ(read.boardBId, d.boardBId);
    EXPECT_EQ(read.controlSerial, d.controlSerial);
    EXPECT_EQ(read.controlVersion, d.controlVersion);
    for (int cut : {0, 5, 12, 20, bytes.size() - 1})
        EXPECT_FALSE(decodeDetails(bytes.left(cut), &read)) << "truncated at " << cut;
}

TEST(Binary, BoardPacketLayoutAndChecksum)
{
    const QByteArray prepare = boardPreparePacket(0x01020304);
    ASSERT_EQ(prepare.size(), kBoardPacketSize);
    EXPECT_EQ(prepare.toHex(), QByteArray("55555555"
                                          "0006"
                                          "040302010000000000000000"
                                          "0010"
                                          "aaaaaaaa"));
    BoardPacket packet;
    ASSERT_TRUE(decodeBoardPacket(prepare, &packet));
    EXPECT_EQ(packet.command, 6);
    EXPECT_EQ(quint8(prepare[19]), (6 + 4 + 3 + 2 + 1) & 0xFF);
    // The checksum keeps only the low 8 bits.
    QByteArray big(12, char(0xFF));
    const QByteArray wrapped = encodeBoardPacket(200, big);
    EXPECT_EQ(quint8(wrapped[19]), (200 + 12 * 255) & 0xFF);
    ASSERT_TRUE(decodeBoardPacket(wrapped, &packet));
    QByteArray corrupt = prepare;
    corrupt[19] = char(corrupt[19] + 1);
    EXPECT_FALSE(decodeBoardPacket(corrupt, &packet));
    EXPECT_FALSE(decodeBoardPacket(prepare.left(23), &packet));
    EXPECT_EQ(boardErasePacket().mid(6, 12), QByteArray(12, '\0'));
    EXPECT_EQ(boardQueryPacket()[5], char(3));
}

TEST(Binary, HolderAndHoldBodies)
{
    QByteArray identity;
    ASSERT_TRUE(decodeHolder(encodeHolder("pc:10.0.0.5:ann"), &identity));
    EXPECT_EQ(identity, QByteArray("pc:10.0.0.5:ann"));
    EXPECT_EQ(encodeHolder("ab").toHex(), QByteArray("020000006162"));
    EXPECT_FALSE(decodeHolder(QByteArray::fromHex("0500000061"), &identity));
    bool take = false;
    ASSERT_TRUE(decodeHold(encodeHold(true, "me"), &take, &identity));
    EXPECT_TRUE(take);
    EXPECT_EQ(encodeHold(false, "me").toHex(), QByteArray("00000000020000006d65"));
}

// --- text commands -----------------------------------------------------------------------------

TEST(Text, IdentityPartsCannotBreakTheWords)
{
    EXPECT_EQ(
        identityText(QStringLiteral("my pc"), QStringLiteral("10.0.0.5"), QStringLiteral("ann:b")),
        QStringLiteral("my*pc:10.0.0.5:ann_b"));
    EXPECT_EQ(authenticateReply(QStringLiteral("pc"), QString(), QStringLiteral("ann")),
              QStringLiteral("authenticate pc::ann enableCheckAlive"));
}

TEST(Text, TransferAnnouncement)
{
    EXPECT_EQ(transforAnnouncement(QStringLiteral("/tmp/my part.vxpr"), 1234, QStringLiteral("1"),
                                   QStringLiteral("vxpr")),
              QStringLiteral("transfor /tmp/my*part.vxpr 1234 1 vxpr"));
    // An upgrade has no after-print choice: a defined word instead of an empty one.
    EXPECT_EQ(transforAnnouncement(QStringLiteral("/u/a.upgrade"), 9, QString(),
                                   QStringLiteral("upgrade")),
              QStringLiteral("transfor /u/a.upgrade 9 0 upgrade"));
}

TEST(Text, NonAsciiTextTravelsAsUtf8)
{
    const QString name = QStringLiteral("零件 一.vxpr");
    EXPECT_EQ(encodeText(name), name.toUtf8());
    EXPECT_EQ(decodeText(encodeText(name)), name);
    EXPECT_EQ(encodeText(QStringLiteral("dev_infos")), QByteArray("dev_infos"));
}

struct LinkedCase {
    const char *name;
    const char *text;
    quint16 port;
    bool checkAlive;
};
NAMED_CASE(LinkedCase)

class Linked : public ::testing::TestWithParam<LinkedCase>
{
};

TEST_P(Linked, PortAndKeepAlive)
{
    const LinkedMessage m = parseLinked(QString::fromLatin1(GetParam().text));
    EXPECT_EQ(m.transferPort, GetParam().port);
    EXPECT_EQ(m.checkAlive, GetParam().checkAlive);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Linked,
    ::testing::Values(LinkedCase{"portOnly", "linked 7778", 7778, false},
                      LinkedCase{"withCheck", "linked 7778 enablecheckalive", 7778, true},
                      LinkedCase{"mixedCase", "linked 7778 EnableCheckAlive", 7778, true},
                      LinkedCase{"otherWord", "linked 7778 nocheck", 7778, false},
                      LinkedCase{"notANumber", "linked abc enablecheckalive", 0, true},
                      LinkedCase{"tooLarge", "linked 70000", 0, false},
                      LinkedCase{"noPort", "linked", 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

// --- dev_infos ---------------------------------------------------------------------------------

TEST(DevInfos, TheWorkedExample)
{
    PropertyMap p;
    EXPECT_TRUE(applyDevInfos(
        QStringLiteral("dev_infos serial:SN01 flag:runing,enough,print supplies:Resin*A,500ml "
                       "version:0.3.1.0,0.3.0.2 progress:42% fileinfo>filename=part*one.vxpr,"
                       "usedlayers=120,totallayers=300,starttime=2019/05/06-10:20"),
        &p));
    EXPECT_EQ(p.value("ID"), QStringLiteral("SN01"));
    EXPECT_EQ(p.value("Name"), QStringLiteral("SN01"));
    EXPECT_EQ(p.value("DS"), QStringLiteral("runing"));
    EXPECT_EQ(p.value("SS"), QStringLiteral("enough"));
    EXPECT_EQ(p.value("PS"), QStringLiteral("print"));
    EXPECT_EQ(p.value("supplies"), QStringLiteral("Resin A,500ml"));
    EXPECT_EQ(p.value("RPiA"), QStringLiteral("0.3.1.0"));
    EXPECT_EQ(p.value("RPiB"), QStringLiteral("0.3.0.2"));
    EXPECT_EQ(p.value("progress"), QStringLiteral("42%"));
    EXPECT_EQ(p.value("filename"), QStringLiteral("part one.vxpr"));
    EXPECT_EQ(p.value("usedlayers"), QStringLiteral("120"));
    EXPECT_EQ(p.value("totallayers"), QStringLiteral("300"));
    EXPECT_EQ(p.value("starttime"), QStringLiteral("2019/05/06 10:20"));
    EXPECT_EQ(p.size(), 13);
    // The same message again changes nothing.
    EXPECT_FALSE(applyDevInfos(QStringLiteral("dev_infos serial:SN01 progress:42%"), &p));
}

struct DevInfosCase {
    const char *name;
    const char *message;
    const char *key;
    const char *expected; // nullptr: the key stays absent
};
NAMED_CASE(DevInfosCase)

class DevInfosWord : public ::testing::TestWithParam<DevInfosCase>
{
};

TEST_P(DevInfosWord, RoutedByItsOwnKey)
{
    PropertyMap p;
    applyDevInfos(QString::fromUtf8(GetParam().message), &p);
    if (GetParam().expected)
        EXPECT_EQ(p.value(QLatin1String(GetParam().key)), QString::fromUtf8(GetParam().expected));
    else
        EXPECT_FALSE(p.contains(QLatin1String(GetParam().key)));
}

INSTANTIATE_TEST_SUITE_P(
    Words, DevInfosWord,
    ::testing::Values(
        DevInfosCase{"flagTwoValuesLeavesPs", "dev_infos flag:idle,enough", "PS", nullptr},
        DevInfosCase{"flagTwoValuesSetsSs", "dev_infos flag:idle,enough", "SS", "enough"},
        DevInfosCase{"devicenameAfterSerial", "dev_infos serial:S1 devicename:Lab", "Name", "Lab"},
        DevInfosCase{"author", "dev_infos author>Ann", "Author", "Ann"},
        DevInfosCase{"endtimeDashes", "dev_infos fileinfo>endtime=2019/05/06-11:00", "endtime",
                     "2019/05/06 11:00"},
        DevInfosCase{"costtimeDashes", "dev_infos fileinfo>costtime=1h-20m", "costtime", "1h 20m"},
        DevInfosCase{"imagedate", "dev_infos fileinfo>imagedate=2019-05-06", "imagedate",
                     "2019-05-06"},
        DevInfosCase{"chineseFileName", "dev_infos fileinfo>filename=零件*一.vxpr", "filename",
                     "零件 一.vxpr"},
        // Words that only contain another key somewhere must not overwrite that field.
        DevInfosCase{"fileNamedVersion", "dev_infos fileinfo>filename=version2.vxpr", "RPiA",
                     nullptr},
        DevInfosCase{"fileNamedVersionKeepsName", "dev_infos fileinfo>filename=version2.vxpr",
                     "filename", "version2.vxpr"},
        DevInfosCase{"printerNamedProgress", "dev_infos devicename:progress-lab", "progress",
                     nullptr},
        DevInfosCase{"printerNamedProgressKeepsName", "dev_infos devicename:progress-lab", "Name",
                     "progress-lab"},
        DevInfosCase{"authorNamedSerial", "dev_infos author>serial:X", "ID", nullptr},
        DevInfosCase{"fileItemNamedLikeAnotherKey",
                     "dev_infos fileinfo>filename=a.vxpr,xusedlayers=4", "usedlayers", nullptr},
        DevInfosCase{"keyWithoutValue", "dev_infos serial:", "ID", nullptr},
        DevInfosCase{"unknownWord", "dev_infos colour:red", "colour", nullptr}),
    [](const auto &info) { return std::string(info.param.name); });

// --- discovery target --------------------------------------------------------------------------

class DiscoveryTargetOrder : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        m_savedEnv = qgetenv("RESINOR_DISCOVERY_TARGET");
        qunsetenv("RESINOR_DISCOVERY_TARGET");
        setDiscoveryTargetOption(QString());
        QSettings().remove(QStringLiteral("network/discoveryTarget"));
    }
    void TearDown() override
    {
        setDiscoveryTargetOption(QString());
        QSettings().remove(QStringLiteral("network/discoveryTarget"));
        qputenv("RESINOR_DISCOVERY_TARGET", m_savedEnv);
    }
    QTemporaryDir m_dir;
    QByteArray m_savedEnv;
};

TEST_F(DiscoveryTargetOrder, OptionOverEnvironmentOverSettingsOverDefault)
{
    EXPECT_EQ(resolveDiscoveryTarget().address, QStringLiteral("255.255.255.255"));
    EXPECT_EQ(resolveDiscoveryTarget().source, QStringLiteral("default"));
    QSettings().setValue(QStringLiteral("network/discoveryTarget"), QStringLiteral("127.0.0.9"));
    EXPECT_EQ(resolveDiscoveryTarget().address, QStringLiteral("127.0.0.9"));
    qputenv("RESINOR_DISCOVERY_TARGET", "127.255.255.255");
    EXPECT_EQ(resolveDiscoveryTarget().address, QStringLiteral("127.255.255.255"));
    setDiscoveryTargetOption(QStringLiteral("127.0.0.3"));
    EXPECT_EQ(resolveDiscoveryTarget().address, QStringLiteral("127.0.0.3"));
    EXPECT_EQ(resolveDiscoveryTarget().source, QStringLiteral("option"));
}

TEST_F(DiscoveryTargetOrder, AnInvalidValueIsRefusedNotReplacedByTheBroadcast)
{
    qputenv("RESINOR_DISCOVERY_TARGET", "printer.local");
    const DiscoveryTarget target = resolveDiscoveryTarget();
    EXPECT_FALSE(target.isValid());
    EXPECT_TRUE(target.error.contains(QStringLiteral("printer.local")));
}

TEST_F(DiscoveryTargetOrder, TheOptionIsTakenOutOfTheCommandLine)
{
    QByteArray a0("Resinor"), a1("--discovery-target"), a2("127.0.0.4"), a3("part.stl");
    char *argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
    int argc = 4;
    EXPECT_TRUE(takeDiscoveryTargetOption(&argc, argv));
    EXPECT_EQ(argc, 2);
    EXPECT_STREQ(argv[1], "part.stl");
    EXPECT_EQ(argv[2], nullptr);
    EXPECT_EQ(resolveDiscoveryTarget().address, QStringLiteral("127.0.0.4"));
}

TEST(Versions, ComparedNumericallyPartByPart)
{
    EXPECT_GT(compareVersions(QStringLiteral("0.10.0.0"), QStringLiteral("0.2.2.0")), 0);
    EXPECT_LT(compareVersions(QStringLiteral("0.2.1.9"), QStringLiteral("0.2.2.0")), 0);
    EXPECT_EQ(compareVersions(QStringLiteral("0.2.2"), QStringLiteral("0.2.2.0")), 0);
    EXPECT_LT(compareVersions(QString(), QStringLiteral("0.2.2.0")), 0);
    EXPECT_LT(compareVersions(QStringLiteral("beta"), QStringLiteral("0.2.2.0")), 0);
}
