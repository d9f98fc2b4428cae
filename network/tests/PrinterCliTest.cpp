// The printer verbs of the Resinor command line, run as a user runs them, against several
// simulators on loopback addresses.
#include "SimPrinter.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "NamedCase.h"

#include <gtest/gtest.h>

#include <map>

using namespace simtest;

namespace
{

struct ProgramRun {
    int rc = -1;
    QString out;
    QString err;
};

ProgramRun resinor(const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("RESINOR_DISCOVERY_PORT"), QStringLiteral("0"));
    if (!env.contains(QStringLiteral("RESINOR_DISCOVERY_TARGET")))
        env.insert(QStringLiteral("RESINOR_DISCOVERY_TARGET"), QStringLiteral("127.255.255.255"));
    process.setProcessEnvironment(env);
    process.start(testsupport::builtProgram(QStringLiteral("Resinor")), args);
    ProgramRun run;
    if (!process.waitForStarted(10000))
        return run;
    // The verbs bound their own waits; this only catches a hang.
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.rc = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The simulators of the rows, one per role, each started the first time a row names it and
// stopped (by its process) when the test program ends.
class Fleet
{
  public:
    Fleet()
    {
        const QStringList printing = {QStringLiteral("--printing"), QStringLiteral("--layers"),
                                      QStringLiteral("10000"), QStringLiteral("--layer-seconds"),
                                      QStringLiteral("0.5")};
        m_roles = {
            {"pause", {100, printing}},
            {"stop", {101, printing}},
            {"held", {102, {"--held-by", "other-pc:10.9.8.7:bob"}}},
            {"free", {103, {"--name", "Lab-one"}}},
            {"second", {104, {}}},
            {"failboard", {105, {"--board", "fail"}}},
            {"idle", {106, {}}},
            {"take", {107, {}}},
        };
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i)
            bytes.append(char((i * 7919) >> 3));
        testsupport::writeFile(package(), bytes);
        testsupport::writeFile(firmware(), QByteArray(5000, 'f'));
    }
    SimPrinter &operator[](const std::string &role)
    {
        auto &sim = m_sims[role];
        if (!sim) {
            const auto &roleAddress = m_roles.at(role);
            sim = std::make_unique<SimPrinter>(loopbackAddress(roleAddress.first),
                                               roleAddress.second);
        }
        return *sim;
    }
    // Replaces @role@ by the role's address (starting it), @PKG@, @FW@, @STL@ and @NONE@.
    QStringList expand(const QStringList &args)
    {
        QStringList out;
        for (QString a : args) {
            for (const auto &role : m_roles) {
                const QString key = QStringLiteral("@%1@").arg(QString::fromStdString(role.first));
                if (a.contains(key))
                    a.replace(key, (*this)[role.first].address());
            }
            a.replace(QStringLiteral("@PKG@"), package());
            a.replace(QStringLiteral("@FW@"), firmware());
            a.replace(QStringLiteral("@NONE@"), loopbackAddress(249));
            a.replace(QStringLiteral("@STL@"),
                      QStringLiteral(RESINOR_TEST_DATA_DIR "/cube10_ascii.stl"));
            out << a;
        }
        return out;
    }
    bool ready()
    {
        for (const auto &entry : m_sims)
            if (!entry.second->isReady())
                return false;
        return true;
    }
    QString package() const
    {
        return QDir(m_files.path()).filePath(QStringLiteral("job one.vxpr"));
    }
    QString firmware() const { return QDir(m_files.path()).filePath(QStringLiteral("board.bin")); }

  private:
    std::map<std::string, std::pair<int, QStringList>> m_roles;
    std::map<std::string, std::unique_ptr<SimPrinter>> m_sims;
    QTemporaryDir m_files;
};

Fleet *g_fleet = nullptr;

bool canRun()
{
    return !simProgram().isEmpty() &&
           !testsupport::builtProgram(QStringLiteral("Resinor")).isEmpty();
}

Fleet &fleet()
{
    if (!g_fleet)
        g_fleet = new Fleet;
    return *g_fleet;
}

class FleetEnvironment : public ::testing::Environment
{
  public:
    void TearDown() override
    {
        delete g_fleet; // stops every simulator it started
        g_fleet = nullptr;
    }
};

const auto *const g_environment = ::testing::AddGlobalTestEnvironment(new FleetEnvironment);

struct VerbCase {
    const char *name;
    QStringList args;
    int rc;
    const char *out; // regex on stdout, empty: not checked
    const char *err; // regex on stderr, empty: not checked
};
NAMED_CASE(VerbCase)

class PrinterVerb : public ::testing::TestWithParam<VerbCase>
{
};

#define REQUIRE_PROGRAMS()                                                                         \
    if (!canRun())                                                                                 \
    GTEST_SKIP() << "Resinor or resinor-printer-sim was not built beside the tests"

} // namespace

TEST_P(PrinterVerb, ExitStatusAndOutput)
{
    REQUIRE_PROGRAMS();
    const VerbCase &vc = GetParam();
    const QStringList args = fleet().expand(vc.args);
    // Printers named only in the expected output are started before the run too.
    const QString outPattern = fleet().expand({QString::fromUtf8(vc.out)}).first();
    const QString errPattern = fleet().expand({QString::fromUtf8(vc.err)}).first();
    ASSERT_TRUE(fleet().ready());
    const ProgramRun run = resinor(args);
    EXPECT_EQ(run.rc, vc.rc) << run.out.toStdString() << run.err.toStdString();
    if (!outPattern.isEmpty()) {
        EXPECT_TRUE(QRegularExpression(outPattern).match(run.out).hasMatch())
            << "stdout: " << run.out.toStdString() << "\nexpected: " << outPattern.toStdString();
    }
    if (!errPattern.isEmpty()) {
        EXPECT_TRUE(QRegularExpression(errPattern).match(run.err).hasMatch())
            << "stderr: " << run.err.toStdString() << "\nexpected: " << errPattern.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, PrinterVerb,
    ::testing::Values(
        // --printers
        VerbCase{"printersByLoopbackBroadcast",
                 {"--printers", "--discovery-target", "127.255.255.255"},
                 0,
                 "\"ip\": \"@free@\", \"serial\": \"SIM-@free@\", \"name\": \"Lab-one\"(.|\\n)*"
                 "\"ip\": \"@second@\"",
                 ""},
        VerbCase{"printersFieldsOfAPrintingPrinter",
                 {"--printers", "--discovery-target", "@pause@"},
                 0,
                 "^\\{\"ip\": \"@pause@\", \"serial\": \"SIM-@pause@\", \"name\": \"SIM-@pause@\", "
                 "\"state\": \\{\"device\": \"runing\", \"print\": \"(print|wait)\", "
                 "\"supplies_sufficient\": \"enough\"\\}, \"progress\": \"[0-9]+%\", "
                 "\"versions\": \\{\"a\": \"0.3.1.0\", \"b\": \"0.3.0.2\"\\}, "
                 "\"supplies\": \"Resin A,500ml,405nm,1\", \"file\": \\{\"name\": \"resumed "
                 "job.vxpr\", \"used_layers\": [0-9]+, \"total_layers\": 10000\\}, \"holder\": "
                 "\"\"\\}\\n$",
                 ""},
        VerbCase{"printersShowsTheHolder",
                 {"--printers", "--discovery-target", "@held@"},
                 0,
                 "\"holder\": \"other-pc:10.9.8.7:bob\"",
                 ""},
        VerbCase{"printersTargetFromTheEnvironmentOrOption",
                 {"--discovery-target", "@idle@", "--printers", "--wait", "2"},
                 0,
                 "^\\{\"ip\": \"@idle@\"[^\\n]*\\}\\n$",
                 ""},
        VerbCase{"printersNoneAnswer",
                 {"--printers", "--discovery-target", "@NONE@", "--wait", "0.5"},
                 0,
                 "^$",
                 "no printer answered at @NONE@"},
        VerbCase{"printersBadTarget",
                 {"--printers", "--discovery-target", "printers.local"},
                 2,
                 "",
                 "not an IPv4 address"},
        VerbCase{"printersBadWait", {"--printers", "--wait", "soon"}, 2, "", "--wait needs"},
        // --control
        VerbCase{"controlPause",
                 {"--control", "@pause@", "pause"},
                 0,
                 "\"ip\": \"@pause@\".*\"print\": \"wait\"",
                 ""},
        VerbCase{"controlStop",
                 {"--control", "@stop@", "stop"},
                 0,
                 "\"ip\": \"@stop@\".*\"device\": \"idle\"",
                 ""},
        VerbCase{"controlPauseWhenIdle",
                 {"--control", "@idle@", "pause"},
                 1,
                 "",
                 "printer @idle@: not printing; nothing to pause"},
        VerbCase{"controlTakeHeldElsewhere",
                 {"--control", "@held@", "take"},
                 1,
                 "\"holder\": \"other-pc:10.9.8.7:bob\"",
                 "printer @held@: held by another user \\(other-pc:10.9.8.7:bob\\)"},
        VerbCase{"controlUnreachable",
                 {"--control", "@NONE@", "stop"},
                 1,
                 "",
                 "printer @NONE@: cannot connect"},
        VerbCase{"controlUnknownAction", {"--control", "@idle@", "jump"}, 2, "", "one of pause"},
        VerbCase{"controlNotAnAddress", {"--control", "printer-1", "stop"}, 2, "", "printer IP"},
        // --send
        VerbCase{"sendToAHeldPrinter",
                 {"--send", "@PKG@", "--printer", "@held@"},
                 1,
                 "",
                 "printer @held@: held by another user"},
        VerbCase{"sendMissingFile",
                 {"--send", "/no/such/job.vxpr", "--printer", "@free@"},
                 1,
                 "",
                 "cannot read /no/such/job.vxpr"},
        VerbCase{"sendWithoutPrinter", {"--send", "@PKG@"}, 2, "", "--printer IP"},
        VerbCase{"sendExportOptionOnAPackage",
                 {"--send", "@PKG@", "--printer", "@free@", "--layer-thickness", "0.1"},
                 2,
                 "",
                 "applies to parts and projects only"},
        VerbCase{"sendTransformOnAPackage",
                 {"--send", "@PKG@", "--printer", "@free@", "--copies", "2"},
                 2,
                 "",
                 "applies to parts and projects only"},
        VerbCase{"sendLayoutOnAPackage",
                 {"--send", "@PKG@", "--printer", "@free@", "--layout"},
                 2,
                 "",
                 "applies to parts and projects only"},
        // --board-firmware
        VerbCase{"boardFirmwareUpgraded",
                 {"--board-firmware", "@free@", "@FW@", "--query-interval", "0.2"},
                 0,
                 "^\\{\"ip\": \"@free@\", \"firmware\": \"board.bin\", \"bytes\": 5000, "
                 "\"upgraded\": true\\}\\n$",
                 "erase answered \\(5\\)"},
        VerbCase{"boardFirmwareBoardFails",
                 {"--board-firmware", "@failboard@", "@FW@", "--query-interval", "0.2"},
                 1,
                 "\"upgraded\": false, \"error\": \"the control board reports that programming "
                 "failed\"",
                 "printer @failboard@: firmware upgrade failed"},
        VerbCase{"boardFirmwareMissingFile",
                 {"--board-firmware", "@free@", "/no/such/board.bin"},
                 1,
                 "",
                 "cannot read /no/such/board.bin"},
        VerbCase{"twoVerbs", {"--printers", "--control", "@free@", "stop"}, 2, "", "one verb"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PrinterVerbs, SendDeliversTheSameBytesAndStartsThePrint)
{
    REQUIRE_PROGRAMS();
    const QStringList args = fleet().expand(
        {"--send", "@PKG@", "--printer", "@free@", "--printer", "@second@", "--print"});
    ASSERT_TRUE(fleet().ready());
    const ProgramRun run = resinor(args);
    ASSERT_EQ(run.rc, 0) << run.err.toStdString();
    for (const char *role : {"free", "second"}) {
        SimPrinter &sim = fleet()[role];
        EXPECT_TRUE(run.out.contains(
            QStringLiteral("{\"ip\": \"%1\", \"file\": \"job one.vxpr\", \"bytes\": 200000, "
                           "\"print\": true, \"sent\": true}")
                .arg(sim.address())))
            << run.out.toStdString();
        EXPECT_EQ(testsupport::readFile(QDir(sim.storage()).filePath("job one.vxpr")),
                  testsupport::readFile(fleet().package()));
        EXPECT_FALSE(sim.waitForLine("^print started job one.vxpr$").isEmpty());
    }
}

TEST(PrinterVerbs, SendSlicesAPartFirst)
{
    REQUIRE_PROGRAMS();
    const ProgramRun run = resinor(fleet().expand({"--send", "@STL@", "--printer", "@idle@"}));
    ASSERT_EQ(run.rc, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("\"file\": \"cube10_ascii.stl\"")) << run.out.toStdString();
    const QString received = fleet()["idle"].waitForLine("^received cube10_ascii.vxpr ");
    EXPECT_FALSE(received.isEmpty());
    // Not printed: --print was not given.
    EXPECT_EQ(fleet()["idle"].count("^print started"), 0);
}

TEST(PrinterVerbs, TakeThenRelease)
{
    REQUIRE_PROGRAMS();
    const ProgramRun take = resinor(fleet().expand({"--control", "@take@", "take"}));
    ASSERT_EQ(take.rc, 0) << take.err.toStdString();
    const QRegularExpressionMatch holder =
        QRegularExpression("\"holder\": \"([^\"]+)\"").match(take.out);
    ASSERT_TRUE(holder.hasMatch()) << take.out.toStdString();
    EXPECT_FALSE(fleet()["take"].waitForLine("^hold taken " + holder.captured(1)).isEmpty());
    // A second take by the same user keeps the hold.
    EXPECT_EQ(resinor(fleet().expand({"--control", "@take@", "take"})).rc, 0);
    const ProgramRun release = resinor(fleet().expand({"--control", "@take@", "release"}));
    EXPECT_EQ(release.rc, 0) << release.err.toStdString();
    EXPECT_TRUE(release.out.contains("\"holder\": \"\"")) << release.out.toStdString();
    EXPECT_FALSE(fleet()["take"].waitForLine("^hold released ").isEmpty());
}
