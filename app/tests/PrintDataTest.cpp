#include "app/DlpConfigAccuracyForm.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "geometry/SlcModel.h"
#include "io/DIoVXPJ.h"
#include "io/DModelIoManager.h"
#include "supports/SupportJob.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

namespace
{

constexpr int kPreviewOffset = 310;
constexpr int kPreviewBlock = 3 * 196608;

std::shared_ptr<Model> boxModel(float x0, float y0, float z0, float side)
{
    auto model = testsupport::soupBoxModel(x0, y0, z0, x0 + side, y0 + side, z0 + side);
    model->setBaseName(QStringLiteral("box"));
    return model;
}

std::shared_ptr<Model> slcModel(float thickness)
{
    auto model = std::make_shared<Model>();
    model->setSourceKind(SourceKind::SlcContours);
    auto data = std::make_shared<SlcModel>();
    data->layerThickness = thickness;
    model->setContourData(data);
    model->setBaseName(QStringLiteral("contours.slc"));
    return model;
}

class PrintDataTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorTest"));
        QDir().mkpath(appData());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath("settings"));
        QDir().mkpath(m_root.filePath("install/config"));
        testsupport::writeFile(m_root.filePath("install/config/v0.dsc"), "description");
        QSettings().clear();
    }

    QString appData() const { return m_root.filePath("appdata"); }
    QString path(const QString &rel) const { return m_root.filePath(rel); }

    std::unique_ptr<DlpOrvaneApp> makeApp()
    {
        auto app = std::make_unique<DlpOrvaneApp>(nullptr, appData(), m_root.filePath("install"));
        app->setWarningHandler(
            [this](const QString &title, const QString &text) { warnings << title + "/" + text; });
        app->setQuestionHandler([this](const QString &title, const QString &text) {
            questions << title + "/" + text;
            return answer;
        });
        // The accuracy dialog: type the prefix, pick the accuracy, press OK.
        app->setAccuracyFormRunner([this](DlpConfigAccuracyForm &form) {
            ++formsShown;
            formItems.clear();
            for (int i = 0; i < form.cbAccuracy()->count(); ++i)
                formItems << form.cbAccuracy()->itemText(i);
            formEditable = form.cbAccuracy()->isEnabled();
            formTitle = form.windowTitle();
            if (!accept)
                return false;
            form.cbAccuracy()->setCurrentText(accuracy);
            QTest::keyClicks(form.lePrefix(), prefix);
            form.onOK();
            return form.result() == QDialog::Accepted;
        });
        app->setDirectoryChooser([this](QWidget *, const QString &start) {
            chooserStart = start;
            return exportDir;
        });
        return app;
    }

    bool waitForRun(DlpOrvaneApp &app, QSignalSpy &finished)
    {
        for (int i = 0; i < 3000 && finished.isEmpty(); ++i)
            finished.wait(10);
        app.waitForPrintData();
        return !finished.isEmpty();
    }

    QTemporaryDir m_root;
    QStringList warnings;
    QStringList questions;
    bool answer = true;
    bool accept = true;
    QString accuracy = QStringLiteral("0.05");
    QString prefix = QStringLiteral("part");
    QString exportDir;
    QString chooserStart;
    int formsShown = 0;
    QStringList formItems;
    bool formEditable = false;
    QString formTitle;
};

// ---- The accuracy dialog's naming rules.

struct NamingStep {
    enum Kind { Type, Paste, Accuracy } kind;
    QString text;
};

struct NamingCase {
    const char *name;
    std::vector<NamingStep> steps;
    QString expectedPrefix;
    QString expectedName;
    bool rejected;
};

class AccuracyFormNaming : public PrintDataTest, public ::testing::WithParamInterface<NamingCase>
{
};

TEST_P(AccuracyFormNaming, NameFollowsPrefixAndAccuracy)
{
    const NamingCase &c = GetParam();
    DlpConfigAccuracyForm form(nullptr, QTime(1, 2, 3, 4));
    form.setAccuracies({"0.025", "0.035", "0.05", "0.1"}, true);
    for (const NamingStep &step : c.steps) {
        switch (step.kind) {
        case NamingStep::Type:
            QTest::keyClicks(form.lePrefix(), step.text);
            break;
        case NamingStep::Paste:
            form.lePrefix()->setText(step.text);
            form.onPrefixChange(step.text);
            break;
        case NamingStep::Accuracy:
            form.cbAccuracy()->setCurrentText(step.text);
            break;
        }
    }
    EXPECT_EQ(form.lePrefix()->text(), c.expectedPrefix);
    EXPECT_EQ(form.fileName(), c.expectedName);
    EXPECT_TRUE(form.lbName()->text().endsWith(c.expectedName));
    EXPECT_EQ(form.lastPrefixRejected(), c.rejected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AccuracyFormNaming,
    ::testing::Values(
        NamingCase{"OpeningNameIsStampAndFirstAccuracy", {}, "", "01_02_03_004_0.025.vxpr", false},
        NamingCase{"PrefixPutsAHyphenBeforeTheAccuracy",
                   {{NamingStep::Accuracy, "0.05"}, {NamingStep::Type, "part"}},
                   "part",
                   "part-0.05.vxpr",
                   false},
        NamingCase{"AccuracyChangeAfterPrefixHasNoHyphen",
                   {{NamingStep::Type, "part"}, {NamingStep::Accuracy, "0.1"}},
                   "part",
                   "part0.1.vxpr",
                   false},
        NamingCase{
            "TypedSlashIsTakenOut", {{NamingStep::Type, "ab/"}}, "ab", "ab-0.025.vxpr", true},
        NamingCase{"TypedSpaceIsTakenOut", {{NamingStep::Type, "a "}}, "a", "a-0.025.vxpr", true},
        NamingCase{"PastedForbiddenCharactersAreAllTakenOut",
                   {{NamingStep::Paste, "a/b:c*"}},
                   "abc",
                   "abc-0.025.vxpr",
                   true},
        NamingCase{"EmptiedPrefixFallsBackToTheStamp",
                   {{NamingStep::Type, "x"}, {NamingStep::Paste, ""}},
                   "",
                   "01_02_03_004_-0.025.vxpr",
                   false}),
    [](const ::testing::TestParamInfo<NamingCase> &info) { return info.param.name; });

TEST_F(PrintDataTest, OkStoresNameAndThickness)
{
    DlpConfigAccuracyForm form;
    form.setAccuracies({"0.025", "0.05"}, true);
    form.cbAccuracy()->setCurrentText("0.05");
    QTest::keyClicks(form.lePrefix(), "part");
    form.onOK();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    QSettings settings;
    EXPECT_EQ(settings.value("slicer/vxprName").toString(), QStringLiteral("part-0.05.vxpr"));
    EXPECT_EQ(settings.value("slicer/layerThickness").toString(), QStringLiteral("0.05"));
}

TEST_F(PrintDataTest, OkRefusesAnEmptyAccuracyEntry)
{
    DlpConfigAccuracyForm form;
    form.setAccuracies(QString("0.05::").split(':'), true);
    ASSERT_EQ(form.cbAccuracy()->count(), 3);
    form.cbAccuracy()->setCurrentIndex(1);
    form.onOK();
    EXPECT_TRUE(form.lastAccuracyRejected());
    EXPECT_NE(form.result(), QDialog::Accepted);
    EXPECT_FALSE(QSettings().contains("slicer/layerThickness"));
}

// ---- The accuracy check against the scene's SLC models.

struct SlcCase {
    const char *name;
    std::vector<float> slcThicknesses;
    bool answer;
    QStringList expectedWarnings;
    bool expectQuestion;
    bool expectForm;
    QStringList expectedItems;
    bool expectEditable;
    QString expectedTitle;
};

class AccuracyCheckSlc : public PrintDataTest, public ::testing::WithParamInterface<SlcCase>
{
};

TEST_P(AccuracyCheckSlc, WarningsQuestionAndOffer)
{
    const SlcCase &c = GetParam();
    auto app = makeApp();
    app->addModelsToScene({boxModel(0, 0, 0, 5)});
    for (float t : c.slcThicknesses)
        app->addModelsToScene({slcModel(t)});
    answer = c.answer;
    accuracy = c.expectedItems.value(0);
    const bool passed = app->accuracyCheck();
    EXPECT_EQ(warnings, c.expectedWarnings);
    EXPECT_EQ(questions.size(), c.expectQuestion ? 1 : 0);
    if (c.expectQuestion) {
        EXPECT_EQ(questions.value(0), QStringLiteral("PrecisionTip/hasSlc"));
    }
    EXPECT_EQ(formsShown, c.expectForm ? 1 : 0);
    EXPECT_EQ(passed, c.expectForm);
    if (c.expectForm) {
        EXPECT_EQ(formItems, c.expectedItems);
        EXPECT_EQ(formEditable, c.expectEditable);
        EXPECT_EQ(formTitle, c.expectedTitle);
        EXPECT_EQ(QSettings().value("slicer/layerThickness").toString(), c.expectedItems.value(0));
    }
}

const QStringList kDefaultAccuracies{"0.025", "0.035", "0.05", "0.1"};

INSTANTIATE_TEST_SUITE_P(
    Rules, AccuracyCheckSlc,
    ::testing::Values(
        SlcCase{"NoSlcOffersTheConfiguredList",
                {},
                true,
                {},
                false,
                true,
                kDefaultAccuracies,
                true,
                "Accuracy Setting"},
        SlcCase{"OneSlcDictatesItsThickness",
                {0.05f},
                true,
                {},
                true,
                true,
                {"0.05"},
                false,
                "hasalreadSlc"},
        SlcCase{"DifferentSlcThicknessesWarnOncePerOther",
                {0.05f, 0.1f},
                true,
                {"PrecisionError/MultiSlc"},
                true,
                true,
                {"0.05"},
                false,
                "hasalreadSlc"},
        SlcCase{"EqualSlcThicknessesDoNotWarn",
                {0.1f, 0.1f},
                true,
                {},
                true,
                true,
                {"0.1"},
                false,
                "hasalreadSlc"},
        SlcCase{"ThreeThicknessesWarnTwice",
                {0.05f, 0.1f, 0.2f},
                true,
                {"PrecisionError/MultiSlc", "PrecisionError/MultiSlc"},
                true,
                true,
                {"0.05"},
                false,
                "hasalreadSlc"},
        SlcCase{"CancelOnTheQuestionEndsTheCheck", {0.05f}, false, {}, true, false, {}, false, ""}),
    [](const ::testing::TestParamInfo<SlcCase> &info) { return info.param.name; });

TEST_F(PrintDataTest, ClosingTheDialogWithoutOkExportsNothing)
{
    auto app = makeApp();
    app->addModelsToScene({boxModel(0, 0, 0, 5)});
    accept = false;
    exportDir = path("out");
    QDir().mkpath(exportDir);
    EXPECT_FALSE(app->exportVxprInteractive());
    EXPECT_EQ(formsShown, 1);
    EXPECT_TRUE(QDir(exportDir).isEmpty());
}

// ---- The export and print paths.

QString programPath()
{
    return testsupport::builtProgram(QStringLiteral("Resinor"));
}

TEST_F(PrintDataTest, ApplicationAndCommandLineWriteTheSameBytes)
{
    if (programPath().isEmpty())
        GTEST_SKIP() << "the Resinor program is not built beside the tests";
    const QString a = path("a.stl");
    const QString b = path("b.stl");
    testsupport::writeFile(a,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    testsupport::writeFile(b, testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 6, 4, 3)));

    const QString cliOut = path("cli.vxpr");
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", path("clihome"));
    env.insert("XDG_DATA_HOME", path("clihome/data"));
    env.insert("XDG_CONFIG_HOME", path("clihome/config"));
    cli.setProcessEnvironment(env);
    cli.start(programPath(), {"--export-vxpr", cliOut, "--layer-thickness", "0.05", a, b});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QByteArray expected = testsupport::readFile(cliOut);
    ASSERT_GT(expected.size(), kPreviewOffset + kPreviewBlock);

    // The previews the command line put in the package stand in for the rendered pictures.
    auto app = makeApp();
    app->setPreviewRenderer(
        [&expected](QByteArray *front, QByteArray *top, QByteArray *left, QString *) {
            *front = expected.mid(kPreviewOffset, 196608);
            *top = expected.mid(kPreviewOffset + 196608, 196608);
            *left = expected.mid(kPreviewOffset + 2 * 196608, 196608);
            return true;
        });
    QSignalSpy loaded(app.get(), &DSharedApp::loadFinished);
    ASSERT_TRUE(app->getImportManager()->importParts({a, b}));
    ASSERT_TRUE(loaded.wait(20000));
    ASSERT_EQ(app->scene().models().size(), 2u);

    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    exportDir = path("exported");
    QDir().mkpath(exportDir);
    QSettings().setValue("path/lastExportPath", path("before"));
    ASSERT_TRUE(app->exportVxprInteractive());
    EXPECT_EQ(chooserStart, path("before"));
    ASSERT_TRUE(waitForRun(*app, finished));
    EXPECT_TRUE(finished.at(0).at(1).toBool()) << finished.at(0).at(2).toString().toStdString();
    // Remembered once the package is written there.
    EXPECT_EQ(QSettings().value("path/lastExportPath").toString(), exportDir);
    const QString exported = exportDir + "/part-0.05.vxpr";
    EXPECT_EQ(finished.at(0).at(0).toString(), exported);
    EXPECT_TRUE(testsupport::readFile(exported) == expected);

    // The print path writes the same package into the application-data folder.
    finished.clear();
    app->onProcessPrintWithThread(false);
    ASSERT_TRUE(waitForRun(*app, finished));
    EXPECT_TRUE(finished.at(0).at(1).toBool()) << finished.at(0).at(2).toString().toStdString();
    EXPECT_EQ(finished.at(0).at(0).toString(), appData() + "/part-0.05.vxpr");
    EXPECT_TRUE(testsupport::readFile(appData() + "/part-0.05.vxpr") == expected);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(PrintDataTest, RenderedPreviewsFillTheSlotsAndShortOnesLeaveZeros)
{
    auto app = makeApp();
    app->setPreviewRenderer([](QByteArray *front, QByteArray *top, QByteArray *left, QString *) {
        *front = QByteArray(1000, '\x7f');
        top->clear();
        left->clear();
        return true;
    });
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSettings().setValue("slicer/layerThickness", "0.05");
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    ASSERT_TRUE(app->startExport(path("p.vxpr")));
    ASSERT_TRUE(waitForRun(*app, finished));
    ASSERT_TRUE(finished.at(0).at(1).toBool());
    const QByteArray bytes = testsupport::readFile(path("p.vxpr"));
    EXPECT_EQ(bytes.mid(kPreviewOffset, 1000), QByteArray(1000, '\x7f'));
    EXPECT_EQ(bytes.mid(kPreviewOffset + 1000, kPreviewBlock - 1000),
              QByteArray(kPreviewBlock - 1000, '\0'));
}

TEST_F(PrintDataTest, PreviewsThatFailToRenderLeaveTheSlotsEmptyNotTheOldPictures)
{
    // Picture files of an earlier run lie in the application-data folder.
    for (const char *name : {"/front.dat", "/top.dat", "/left.dat"})
        testsupport::writeFile(appData() + name, QByteArray(196608, '\x55'));
    auto app = makeApp();
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSettings().setValue("slicer/layerThickness", "0.05");
    bool renderOk = true;
    app->setPreviewRenderer(
        [&renderOk](QByteArray *front, QByteArray *top, QByteArray *left, QString *error) {
            *front = *top = *left = QByteArray(196608, '\x33');
            if (!renderOk)
                *error = QStringLiteral("no GL");
            return renderOk;
        });
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    ASSERT_TRUE(app->startExport(path("first.vxpr")));
    ASSERT_TRUE(waitForRun(*app, finished));
    ASSERT_TRUE(finished.at(0).at(1).toBool());
    EXPECT_EQ(testsupport::readFile(path("first.vxpr")).mid(kPreviewOffset, kPreviewBlock),
              QByteArray(kPreviewBlock, '\x33'));

    renderOk = false;
    finished.clear();
    ASSERT_TRUE(app->startExport(path("second.vxpr")));
    ASSERT_TRUE(waitForRun(*app, finished));
    ASSERT_TRUE(finished.at(0).at(1).toBool());
    EXPECT_EQ(testsupport::readFile(path("second.vxpr")).mid(kPreviewOffset, kPreviewBlock),
              QByteArray(kPreviewBlock, '\0'));

    // Without any renderer the pictures are empty too, whatever the files hold.
    app->setPreviewRenderer({});
    finished.clear();
    ASSERT_TRUE(app->startExport(path("third.vxpr")));
    ASSERT_TRUE(waitForRun(*app, finished));
    EXPECT_EQ(testsupport::readFile(path("third.vxpr")).mid(kPreviewOffset, kPreviewBlock),
              QByteArray(kPreviewBlock, '\0'));
}

TEST_F(PrintDataTest, ThicknessThePackageCannotHoldIsRefusedWithTheSmallestAllowed)
{
    auto app = makeApp();
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    for (const char *thickness : {"0.0001", "0.0015", "1e-9", "nan", "20"}) {
        warnings.clear();
        QSettings().setValue("slicer/layerThickness", thickness);
        EXPECT_FALSE(app->startExport(path("p.vxpr"))) << thickness;
        ASSERT_EQ(warnings.size(), 1) << thickness;
        EXPECT_TRUE(warnings[0].contains(thickness)) << warnings[0].toStdString();
    }
    QSettings().setValue("slicer/layerThickness", "0.0001");
    warnings.clear();
    app->startExport(path("p.vxpr"));
    EXPECT_TRUE(warnings.value(0).contains("0.001 mm")) << warnings.value(0).toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("p.vxpr")));
    EXPECT_TRUE(finished.isEmpty());
}

TEST_F(PrintDataTest, FailureToWriteIsReportedNotSuccess)
{
    auto app = makeApp();
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSettings().setValue("slicer/layerThickness", "0.05");
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    const QString target = path("missing-folder/p.vxpr");
    ASSERT_TRUE(app->startExport(target));
    ASSERT_TRUE(waitForRun(*app, finished));
    EXPECT_FALSE(finished.at(0).at(1).toBool());
    EXPECT_FALSE(finished.at(0).at(2).toString().isEmpty());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Tip/")) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(finished.at(0).at(2).toString()));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(PrintDataTest, NonPositiveThicknessIsRefusedBeforeAnyRun)
{
    auto app = makeApp();
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSettings().setValue("slicer/layerThickness", "0");
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    EXPECT_FALSE(app->startExport(path("p.vxpr")));
    EXPECT_FALSE(app->isExportRunning());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(path("p.vxpr")));
}

TEST_F(PrintDataTest, SecondExportIsRefusedWhileOneRunsAndCancelKeepsTheOldFile)
{
    auto app = makeApp();
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    QSettings().setValue("slicer/layerThickness", "0.05");
    const QString target = path("p.vxpr");
    testsupport::writeFile(target, "previous package");

    // Hold the export inside its first progress report, on the worker.
    std::atomic<bool> reached{false};
    std::atomic<bool> release{false};
    QThread *ui = QThread::currentThread();
    app->setProgressCallback([&](int, const QString &, bool) {
        if (QThread::currentThread() == ui)
            return;
        reached = true;
        while (!release)
            QThread::msleep(1);
    });
    QSignalSpy finished(app.get(), &DlpOrvaneApp::printDataFinished);
    ASSERT_TRUE(app->startExport(target));
    for (int i = 0; i < 5000 && !reached; ++i)
        QThread::msleep(1);
    ASSERT_TRUE(reached);
    EXPECT_TRUE(app->isExportRunning());

    exportDir = path("other");
    EXPECT_FALSE(app->startExport(path("q.vxpr")));
    EXPECT_FALSE(app->exportVxprInteractive());
    EXPECT_EQ(warnings, (QStringList{"saveVxpr/isSaveVxpr", "saveVxpr/isSaveVxpr"}));
    EXPECT_EQ(formsShown, 0);

    app->onCancelProcess();
    release = true;
    ASSERT_TRUE(waitForRun(*app, finished));
    EXPECT_FALSE(finished.at(0).at(1).toBool());
    EXPECT_EQ(finished.at(0).at(2).toString(), QStringLiteral("Canceled"));
    EXPECT_EQ(warnings.size(), 2); // a cancel is not reported as a failure
    EXPECT_EQ(testsupport::readFile(target), QByteArray("previous package"));
    EXPECT_FALSE(QFileInfo::exists(path("q.vxpr")));
}

TEST_F(PrintDataTest, PrintIsRefusedWithoutModelsAndWhenTheCheckFails)
{
    auto app = makeApp();
    app->onProcessPrintWithThread(false);
    EXPECT_EQ(warnings, QStringList{"Tip/NoModel"});
    app->addModelsToScene({boxModel(-5, -5, 0, 10)});
    accept = false;
    app->onProcessPrintWithThread(false);
    EXPECT_EQ(formsShown, 1);
    EXPECT_FALSE(app->isPrintRunning());
}

// ---- Project loads.

TEST_F(PrintDataTest, ProjectLoadGeneratesTheSupportsAgain)
{
    // A slab floating 5 mm above the platform gets supports under its underside.
    auto slab = boxModel(-5, -5, 5, 10);
    SupportParameters p;
    p.supportRadius = 0.4f;
    p.overhangRadius = 0.3f;
    p.linkPointRadius = 0.2f;
    p.supportGaps = 4.0f;
    p.supportHeight = 5.0f;
    p.baseHeight = 1.2f;
    p.baseExtern = 2.5f;
    p.baseMode = 1;
    p.hasSupports = true;
    const SupportJobResult generated = generateSupportsForModel(*slab, p, nullptr);
    ASSERT_TRUE(generated.ok) << generated.error.toStdString();
    ASSERT_GT(generated.overhangs, 0);
    slab->setIndexed(true);
    const QString project = path("slab.vxpj");
    Vxpj::saveProject(project, {slab});

    auto app = makeApp();
    QSignalSpy loaded(app.get(), &DSharedApp::loadFinished);
    ASSERT_TRUE(app->getImportManager()->importProject(project));
    ASSERT_TRUE(loaded.wait(20000));
    ASSERT_EQ(app->scene().models().size(), 1u);
    const auto model = app->scene().models().front();
    EXPECT_EQ(model->overhangs().size(), slab->overhangs().size());
    ASSERT_TRUE(model->support());
    EXPECT_EQ(model->support()->parts.size(), slab->support()->parts.size());
    EXPECT_FLOAT_EQ(model->boundingBox().max.z - model->boundingBox().min.z, 10.0f);
    EXPECT_FLOAT_EQ(model->boundingBox().min.z, 5.0f) << "not lifted again";
}

} // namespace
