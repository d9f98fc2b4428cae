// The command line fed the way a hostile tester feeds it: special files as outputs, outputs that
// are inputs, empty jobs, odd option orders, damaged displays and locales. Every fixture is
// generated here; the built program runs as a user starts it.
#include "app/CliPlatform.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "io/DIoVXPJ.h"
#include "io/tests/IoTestUtil.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

constexpr int kHeaderBytes = 54;
constexpr int kPreviewOffset = 310;
constexpr int kPreviewBlock = 3 * 196608;

QString program()
{
    return testsupport::builtProgram(QStringLiteral("Resinor"));
}

struct CliRun {
    int exitCode = -1;
    bool crashed = false;
    bool timedOut = false;
    QByteArray out;
    QString err;
};

class HostileCommandLine : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (program().isEmpty())
            GTEST_SKIP() << "Resinor is not built beside the tests";
        ASSERT_TRUE(m_dir.isValid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("HOME", path("home"));
        m_env.insert("XDG_CONFIG_HOME", path("home/config"));
        m_env.insert("XDG_DATA_HOME", path("home/data"));
        m_env.insert("XDG_RUNTIME_DIR", path("home/runtime"));
        QDir().mkpath(path("home/runtime"));
        QFile::setPermissions(path("home/runtime"), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
        // No window is ever shown by these runs; where one is (the window tests), it is
        // offscreen.
        m_env.remove("QT_QPA_PLATFORM");
        m_cube = path("cube.stl");
        testsupport::writeFile(
            m_cube, testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    }

    QString path(const QString &rel) const { return m_dir.filePath(rel); }

    CliRun run(const QStringList &args, const QProcessEnvironment &env, int timeoutMs = 60000)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program(), args);
        CliRun r;
        if (!process.waitForFinished(timeoutMs)) {
            r.timedOut = true;
            process.kill();
            process.waitForFinished();
        }
        r.crashed = process.exitStatus() != QProcess::NormalExit;
        r.exitCode = r.crashed ? -1 : process.exitCode();
        r.out = process.readAllStandardOutput();
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        return r;
    }
    CliRun run(const QStringList &args) { return run(args, m_env); }

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QString m_cube;
};

#define EXPECT_RUN(r, code) EXPECT_EQ((r).exitCode, code) << "stderr: " << (r).err.toStdString()

// ---- --platform and the display.

TEST_F(HostileCommandLine, PlatformOptionOfAVerbNeverReachesQt)
{
    if (m_env.value("DISPLAY").isEmpty())
        GTEST_SKIP() << "needs an X display (the suite runs under Xvfb)";
    const CliRun r = run({"--export-vxpr", path("out.vxpr"), "--platform", "96,54,160", m_cube});
    EXPECT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(QFileInfo(path("out.vxpr")).size() > kPreviewOffset + kPreviewBlock);
}

TEST_F(HostileCommandLine, PlatformOptionOfTheWindowNeverReachesQt)
{
    QProcessEnvironment env = m_env;
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program(), {"--platform", "96,54,160", m_cube});
    ASSERT_TRUE(process.waitForStarted(10000));
    // Qt reading "--platform 96,54,160" as its own plugin option aborts within a second.
    const bool ended = process.waitForFinished(3000);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    EXPECT_FALSE(ended && process.exitStatus() != QProcess::NormalExit) << err.toStdString();
    EXPECT_FALSE(err.contains("platform plugin")) << err.toStdString();
}

TEST_F(HostileCommandLine, DisplayThatIsGoneGivesEmptyPreviewsNotAnAbort)
{
    for (const char *display : {":999", ""}) {
        QProcessEnvironment env = m_env;
        env.insert("DISPLAY", display);
        const CliRun r = run({"--export-vxpr", path("gone.vxpr"), m_cube}, env);
        EXPECT_FALSE(r.crashed) << display;
        EXPECT_RUN(r, 0);
        EXPECT_TRUE(r.err.contains("preview pictures are left empty")) << r.err.toStdString();
        EXPECT_EQ(testsupport::readFile(path("gone.vxpr")).mid(kPreviewOffset, kPreviewBlock),
                  QByteArray(kPreviewBlock, '\0'));
    }
}

// ---- Outputs that are not regular files.

#ifndef Q_OS_WIN
TEST_F(HostileCommandLine, FifoTargetsStayFifosAndReceiveTheWholeFile)
{
    const QString reference = path("reference.vxpr");
    ASSERT_EQ(run({"--export-vxpr", reference, m_cube}).exitCode, 0);
    const QString project = path("reference.vxpj");
    ASSERT_EQ(run({"--save-project", project, m_cube}).exitCode, 0);

    const struct {
        const char *verb;
        QString expected;
    } cases[] = {{"--export-vxpr", reference}, {"--save-project", project}};
    for (const auto &c : cases) {
        const QString fifo = path(QStringLiteral("pipe%1").arg(c.verb));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // The reader copies what arrives into a file (a pipe back to this process would fill
        // up while it waits for the program).
        const QString received = fifo + ".received";
        QProcess reader;
        reader.start("sh", {"-c", "cat \"$0\" > \"$1\"", fifo, received});
        ASSERT_TRUE(reader.waitForStarted());
        const CliRun r = run({c.verb, fifo, "--force", m_cube});
        EXPECT_RUN(r, 0);
        ASSERT_TRUE(reader.waitForFinished(30000));
        EXPECT_TRUE(testsupport::readFile(received) == testsupport::readFile(c.expected)) << c.verb;
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << c.verb << ": the FIFO was replaced";
    }
}
#endif

TEST_F(HostileCommandLine, DashWritesThePackageToStandardOutput)
{
    const QString reference = path("reference.vxpr");
    ASSERT_EQ(run({"--export-vxpr", reference, m_cube}).exitCode, 0);
    const CliRun r = run({"--export-vxpr", "-", m_cube});
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(r.out == testsupport::readFile(reference)) << r.out.size();
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("-")));
}

// ---- An output that is an input, or has the wrong suffix.

struct OutputCase {
    const char *name;
    const char *verb;
    // Builds the output path from the input's; may create links.
    std::function<QString(const QString &input, const QString &dir)> output;
    bool forceWrites; // with --force the output is written
};

class OutputIsChecked : public HostileCommandLine, public ::testing::WithParamInterface<OutputCase>
{
};

TEST_P(OutputIsChecked, RefusedWithoutForce)
{
    const OutputCase &c = GetParam();
    const QByteArray before = testsupport::readFile(m_cube);
    const QString output = c.output(m_cube, m_dir.path());
    const CliRun r = run({c.verb, output, m_cube});
    EXPECT_RUN(r, 2);
    EXPECT_TRUE(r.err.contains("--force")) << r.err.toStdString();
    EXPECT_TRUE(testsupport::readFile(m_cube) == before) << "the input was overwritten";
    if (c.forceWrites) {
        const CliRun forced = run({c.verb, output, "--force", m_cube});
        EXPECT_RUN(forced, 0);
        EXPECT_TRUE(QFileInfo::exists(output));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputIsChecked,
    ::testing::Values(
        OutputCase{"PackageOverTheInput", "--export-vxpr",
                   [](const QString &in, const QString &) { return in; }, false},
        OutputCase{"ProjectOverTheInput", "--save-project",
                   [](const QString &in, const QString &) { return in; }, false},
        OutputCase{"PackageOverTheInputThroughASymlink", "--export-vxpr",
                   [](const QString &in, const QString &dir) {
                       const QString link = dir + "/link.vxpr";
                       QFile::link(in, link);
                       return link;
                   },
                   false},
#ifndef Q_OS_WIN
        OutputCase{"PackageOverTheInputThroughAHardLink", "--export-vxpr",
                   [](const QString &in, const QString &dir) {
                       const QString link = dir + "/hard.vxpr";
                       ::link(QFile::encodeName(in).constData(),
                              QFile::encodeName(link).constData());
                       return link;
                   },
                   false},
#endif
        OutputCase{"PackageWithAMeshSuffix", "--export-vxpr",
                   [](const QString &, const QString &dir) { return dir + "/out.stl"; }, true},
        OutputCase{"ProjectWithAPackageSuffix", "--save-project",
                   [](const QString &, const QString &dir) { return dir + "/out.vxpr"; }, true}),
    [](const ::testing::TestParamInfo<OutputCase> &info) { return info.param.name; });

// ---- Jobs that would print nothing, and thicknesses the package cannot hold.

TEST_F(HostileCommandLine, EmptyJobsAreRefusedAndKeepTheOldPackage)
{
    const QString emptyProject = path("empty.vxpj");
    Vxpj::saveProject(emptyProject, {});
    const QString flatSlc = path("flat.slc");
    // A sampling table with thickness 0: no usable layer.
    testsupport::writeFile(flatSlc, SlcBuilder()
                                        .table({{{0.0f, 0.0f, 0.0f, 0.0f}}})
                                        .layer(0.0f, {unitSquare()})
                                        .end(0.0f)
                                        .bytes());
    const QString target = path("old.vxpr");
    for (const QString &input : {emptyProject, flatSlc}) {
        testsupport::writeFile(target, "previous package");
        const CliRun r = run({"--export-vxpr", target, input});
        EXPECT_RUN(r, 1);
        EXPECT_TRUE(r.err.contains("no model") || r.err.contains("Nothing to print"))
            << r.err.toStdString();
        EXPECT_EQ(testsupport::readFile(target), QByteArray("previous package"));
    }
}

TEST_F(HostileCommandLine, ThicknessBelowThePackageResolutionIsRefused)
{
    const struct {
        const char *thickness;
        const char *message;
    } cases[] = {{"0.0015", "whole number of micrometres"},
                 {"1e-9", "smallest the work package can hold, 0.001 mm"},
                 {"0.0004", "0.001 mm"},
                 {"inf", "not a number"}};
    for (const auto &c : cases) {
        const CliRun r =
            run({"--export-vxpr", path("t.vxpr"), "--layer-thickness", c.thickness, m_cube});
        EXPECT_RUN(r, 2);
        EXPECT_TRUE(r.err.contains(c.message)) << c.thickness << ": " << r.err.toStdString();
    }
    const CliRun ok = run({"--export-vxpr", path("t.vxpr"), "--layer-thickness", "0.001", m_cube});
    EXPECT_RUN(ok, 0);
}

TEST_F(HostileCommandLine, ModelsBeyondThePlatformAreNamedInAWarning)
{
    const QString big = path("big part.stl");
    testsupport::writeFile(big,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 5, 5, 30)));
    const CliRun r = run({"--export-vxpr", path("w.vxpr"), "--platform", "96,54,20", m_cube, big});
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(r.err.contains("warning: big part.stl reaches beyond the platform"))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("cube.stl reaches")) << r.err.toStdString();
}

// ---- Long jobs: progress on stderr and Ctrl+C.

TEST_F(HostileCommandLine, StagesAreListedOnStderrWhenItIsNotATerminal)
{
    const CliRun r = run({"--export-vxpr", path("p.vxpr"), "--supports", "medium", m_cube});
    EXPECT_RUN(r, 0);
    for (const char *stage : {"Resinor: Loading...", "Resinor: Supports calculating...",
                              "Resinor: Preparing...", "Resinor: Slicing..."})
        EXPECT_TRUE(r.err.contains(stage)) << stage << "\n" << r.err.toStdString();
    EXPECT_EQ(r.err.count("Resinor: Slicing..."), 1) << "one line per stage";
}

TEST_F(HostileCommandLine, SupportGapGivingUnboundedWorkIsRefusedAtOnce)
{
    const QString profile = path("tiny-gaps.ini");
    testsupport::writeFile(profile, "[support]\noverhangDiameter=0.6\nlinkPointDiameter=0.4\n"
                                    "supportGaps=0.01\nsupportDiameter=0.8\nsupportHeight=5\n"
                                    "supportBaseHeight=1.2\nsupportBaseExtern=2.5\n"
                                    "isHasSupports=false\nisAddSupportBase=true\nmethod=a\n");
    const CliRun r =
        run({"--export-vxpr", path("never.vxpr"), "--supports", profile, m_cube}, m_env, 30000);
    EXPECT_FALSE(r.timedOut);
    EXPECT_RUN(r, 1);
    EXPECT_TRUE(r.err.contains("use a gap of at least")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("never.vxpr")));
}

#ifndef Q_OS_WIN
TEST_F(HostileCommandLine, CtrlCStopsTheExportAndLeavesNoPartialOutput)
{
    // 400 columns 30 mm tall in 3,000 layers of 0.01 mm: seconds of slicing, long enough to
    // be interrupted.
    std::vector<testsupport::Triangle> comb;
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j) {
            const auto column = testsupport::boxTriangles(i * 2.0f - 20, j * 2.0f - 20, 0,
                                                          i * 2.0f - 19, j * 2.0f - 19, 30);
            comb.insert(comb.end(), column.begin(), column.end());
        }
    const QString tall = path("comb.stl");
    testsupport::writeFile(tall, testsupport::binaryStl(comb));
    const QString target = path("slow.vxpr");
    testsupport::writeFile(target, "previous package");
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(program(), {"--export-vxpr", target, "--layer-thickness", "0.01", tall});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray err;
    for (int i = 0; i < 600 && !err.contains("Preparing"); ++i) {
        process.waitForReadyRead(50);
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("Preparing")) << err.toStdString();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(30000));
    err += process.readAllStandardError();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130) << err.toStdString();
    EXPECT_TRUE(err.contains("interrupted")) << err.toStdString();
    EXPECT_EQ(testsupport::readFile(target), QByteArray("previous package"));
    const QStringList left = QDir(m_dir.path()).entryList(QDir::Files);
    for (const QString &name : left)
        EXPECT_FALSE(name.startsWith("slow.vxpr."))
            << "temporary file left: " << name.toStdString();
}
#endif

// ---- Projects from FIFOs.

#ifndef Q_OS_WIN
TEST_F(HostileCommandLine, ProjectReadFromAFifoDoesNotHang)
{
    const QString project = path("scene.vxpj");
    ASSERT_EQ(run({"--save-project", project, m_cube}).exitCode, 0);
    const QString fifo = path("fifo.vxpj");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The shell opens the FIFO for writing in the child: an open here would wait for a reader.
    QProcess writer;
    writer.start("sh", {"-c", "cat \"$0\" > \"$1\"", project, fifo});
    ASSERT_TRUE(writer.waitForStarted());
    const CliRun r = run({"--info", fifo}, m_env, 20000);
    EXPECT_FALSE(r.timedOut) << "reading the project from a FIFO hung";
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(r.out.contains("\"triangles\": 12")) << r.out.toStdString();
    writer.waitForFinished(5000);
}
#endif

// ---- Command-line hygiene.

TEST_F(HostileCommandLine, DoubleDashEndsTheOptions)
{
    const QString odd = path("--odd.stl");
    QFile::copy(m_cube, odd);
    QDir::setCurrent(m_dir.path());
    const CliRun r = run({"--info", "--", "--odd.stl"});
    QDir::setCurrent(QDir::tempPath());
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(r.out.contains("\"name\": \"--odd.stl\"")) << r.out.toStdString();
}

TEST_F(HostileCommandLine, VerbAfterAFileIsStillTheVerb)
{
    const CliRun r = run({m_cube, "--info"});
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(r.out.contains("\"triangles\": 12")) << r.out.toStdString();
}

TEST_F(HostileCommandLine, MissingSupportProfileIsAnErrorEvenWithOnlyProjects)
{
    const QString project = path("scene.vxpj");
    ASSERT_EQ(run({"--save-project", project, m_cube}).exitCode, 0);
    const CliRun r = run({"--info", "--supports", "nosuch", project});
    EXPECT_RUN(r, 1);
    EXPECT_TRUE(r.err.contains("no support profile nosuch")) << r.err.toStdString();
}

TEST_F(HostileCommandLine, MethodBProjectIsOpenedWithItsSupports)
{
    auto model = testsupport::soupBoxModel(0, 0, 5, 10, 10, 15);
    model->setIndexed(true);
    model->setBaseName("slab.stl");
    model->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{5, 5, 5}, Vec3f{0, 0, -1}, 0.25f, 0.25f));
    model->supportParameters().method = 1;
    const QString project = path("method-b.vxpj");
    Vxpj::saveProject(project, {model});

    const CliRun info = run({"--info", project});
    EXPECT_RUN(info, 0);
    EXPECT_TRUE(info.out.contains("\"triangles\": 12")) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("\"overhangs\": 1")) << info.out.toStdString();
    EXPECT_FALSE(info.out.contains("\"support_parts\": 0")) << info.out.toStdString();
    const CliRun exported = run({"--export-vxpr", path("b.vxpr"), project});
    EXPECT_RUN(exported, 0);
    EXPECT_TRUE(QFileInfo::exists(path("b.vxpr")));
}

// --supports with the shipped method B profile works on every verb as method A does.
struct MethodBVerb {
    const char *name;
    std::function<QStringList(const QString &dir)> args;
    // What the run left behind, checked with the program's own --info where it is a file.
    std::function<void(const QString &dir, HostileCommandLine &)> check;
    bool needsDisplay;
};

class MethodBOnEveryVerb : public HostileCommandLine,
                           public ::testing::WithParamInterface<MethodBVerb>
{
  public:
    CliRun runArgs(const QStringList &args) { return run(args); }
};

TEST_P(MethodBOnEveryVerb, GeneratesSupportsWithTheShippedProfile)
{
    const MethodBVerb &verb = GetParam();
    if (verb.needsDisplay && m_env.value("DISPLAY").isEmpty())
        GTEST_SKIP() << "needs an X display (the suite runs under Xvfb)";
    QStringList args = verb.args(m_dir.path());
    args << "--supports"
         << "fine-b" << m_cube;
    const CliRun r = run(args, m_env, 120000);
    EXPECT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_RUN(r, 0);
    verb.check(m_dir.path(), *this);
}

int supportParts(const QByteArray &infoOut)
{
    const QByteArray key = "\"support_parts\": ";
    const int at = infoOut.indexOf(key);
    if (at < 0)
        return -1;
    int end = at + key.size();
    while (end < infoOut.size() && std::isdigit(static_cast<unsigned char>(infoOut[end])))
        ++end;
    return infoOut.mid(at + key.size(), end - at - key.size()).toInt();
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, MethodBOnEveryVerb,
    ::testing::Values(
        MethodBVerb{"exportVxpr",
                    [](const QString &dir) {
                        return QStringList{"--export-vxpr", dir + "/b.vxpr"};
                    },
                    [](const QString &dir, HostileCommandLine &t) {
                        const CliRun info = static_cast<MethodBOnEveryVerb &>(t).runArgs(
                            {"--info", dir + "/b.vxpr"});
                        EXPECT_RUN(info, 0);
                        // Lifted 5 mm: 300 layers, supports adding volume to the cube's 1 ml.
                        EXPECT_TRUE(info.out.contains("\"layers\": 300")) << info.out.toStdString();
                        EXPECT_TRUE(info.out.contains("\"volume_ml\": 1."))
                            << info.out.toStdString();
                    },
                    false},
        MethodBVerb{"saveProject",
                    [](const QString &dir) {
                        return QStringList{"--save-project", dir + "/b.vxpj"};
                    },
                    [](const QString &dir, HostileCommandLine &t) {
                        // Opened again, the project's supports are made again by method B.
                        const CliRun info = static_cast<MethodBOnEveryVerb &>(t).runArgs(
                            {"--info", dir + "/b.vxpj"});
                        EXPECT_RUN(info, 0);
                        EXPECT_GT(supportParts(info.out), 0) << info.out.toStdString();
                        EXPECT_TRUE(info.out.contains("\"min\": [38, -4.5, 5]"))
                            << info.out.toStdString();
                    },
                    false},
        MethodBVerb{"snapshots",
                    [](const QString &dir) {
                        return QStringList{"--snapshots", dir + "/shots"};
                    },
                    [](const QString &dir, HostileCommandLine &) {
                        EXPECT_GE(QDir(dir + "/shots").entryList(QDir::Files).size(), 3);
                    },
                    true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HostileCommandLine, MethodBInfoCountsTheSupportParts)
{
    const CliRun methodB = run({"--info", "--supports", "fine-b", m_cube});
    EXPECT_RUN(methodB, 0);
    EXPECT_TRUE(methodB.out.contains("\"overhangs\": ")) << methodB.out.toStdString();
    EXPECT_GT(supportParts(methodB.out), 4) << methodB.out.toStdString();
}

#ifndef Q_OS_WIN
TEST_F(HostileCommandLine, FileNamesThatAreNotUtf8RoundTrip)
{
    // The test process reads and writes names with the same conversion as the program.
    installLosslessFileNames();
    const QByteArray rawIn = QFile::encodeName(m_dir.path()) + "/caf\xe9.stl";
    const QByteArray rawOut = QFile::encodeName(m_dir.path()) + "/sc\xe8ne\xff.vxpj";
    ASSERT_TRUE(QFile::copy(m_cube, QFile::decodeName(rawIn)));
    ASSERT_EQ(QFile::encodeName(QFile::decodeName(rawIn)), rawIn);
    const CliRun info = run({"--info", QFile::decodeName(rawIn)});
    EXPECT_RUN(info, 0);
    const CliRun saved =
        run({"--save-project", QFile::decodeName(rawOut), QFile::decodeName(rawIn)});
    EXPECT_RUN(saved, 0);
    struct stat st;
    EXPECT_EQ(::stat(rawOut.constData(), &st), 0) << "the project was not written under its name";
}
#endif

// ---- Numbers under a comma-decimal locale.

// A German locale, compiled into the test folder when the system has none.
QString germanLocale(const QString &dir, QString *locPath)
{
    QProcess list;
    list.start("locale", {"-a"});
    if (list.waitForFinished(10000)) {
        const QString all = QString::fromLocal8Bit(list.readAllStandardOutput());
        for (const char *name : {"de_DE.utf8", "de_DE.UTF-8"})
            if (all.split('\n').contains(name))
                return QString::fromLatin1(name);
    }
    if (QStandardPaths::findExecutable("localedef").isEmpty())
        return QString();
    QDir().mkpath(dir);
    QProcess def;
    def.start("localedef", {"-i", "de_DE", "-f", "UTF-8", dir + "/de_DE.UTF-8"});
    if (!def.waitForFinished(60000) || !QFileInfo(dir + "/de_DE.UTF-8").isDir())
        return QString();
    *locPath = dir;
    return QStringLiteral("de_DE.UTF-8");
}

TEST_F(HostileCommandLine, CommaDecimalLocaleExportsTheSamePackage)
{
    QString locPath;
    const QString locale = germanLocale(path("locales"), &locPath);
    if (locale.isEmpty())
        GTEST_SKIP() << "no German locale and no localedef (Debian package locales) to make one";
    const QString reference = path("c.vxpr");
    ASSERT_EQ(run({"--export-vxpr", reference, "--layer-thickness", "0.05", "--supports", "medium",
                   m_cube})
                  .exitCode,
              0);
    QProcessEnvironment env = m_env;
    env.insert("LC_ALL", locale);
    if (!locPath.isEmpty())
        env.insert("LOCPATH", locPath);
    const QString german = path("de.vxpr");
    const CliRun r =
        run({"--export-vxpr", german, "--layer-thickness", "0.05", "--supports", "medium", m_cube},
            env);
    EXPECT_RUN(r, 0);
    EXPECT_TRUE(testsupport::readFile(german) == testsupport::readFile(reference));
    const CliRun info = run({"--info", german}, env);
    EXPECT_TRUE(info.out.contains("\"layer_thickness\": 0.05")) << info.out.toStdString();
}

} // namespace
