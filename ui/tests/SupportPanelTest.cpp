#include "UiTestSupport.h"

#include "app/CSupportApp.h"
#include "app/CommandStack.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "io/DModelIoManager.h"
#include "render/GLBox.h"
#include "supports/DDlpSupportSettingManage.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/DlpSupportWidget.h"
#include "ui/SdSupportConfigFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

using Orvane3Ds::CSupportApp;

// A profile file with the given values; empty `gaps` keeps the usual one.
void writeProfile(const QString &path, const QString &method, const QString &gaps = "2.0")
{
    testsupport::writeFile(path, QStringLiteral("[support]\nmethod=%1\noverhangDiameter=0.6\n"
                                                "linkPointDiameter=0.4\nsupportGaps=%2\n"
                                                "supportDiameter=0.8\nsupportHeight=5\n"
                                                "supportBaseHeight=1.2\nsupportBaseExtern=2.5\n"
                                                "isHasSupports=false\nisAddSupportBase=true\n")
                                     .arg(method, gaps)
                                     .toUtf8());
}

class SupportPanel : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qputenv("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
        m_userFolder = uitest::isolatedUserFolder();
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
        m_app = std::make_unique<DlpOrvaneApp>(nullptr, m_root.filePath(QStringLiteral("appdata")),
                                               uitest::programFolder());
        m_model = testsupport::soupBoxModel(-5.0f, -4.0f, 0.0f, 5.0f, 4.0f, 3.0f);
        m_model->setBaseName(QStringLiteral("box"));
        m_app->addModelsToScene({m_model});
        m_panel = std::make_unique<SdSupportConfigFiles>(m_app.get());
        m_panel->show();
    }
    void TearDown() override { DlpSupportWidget::setSaveFileNameProvider({}); }

    QString profileDir() const { return m_app->userProfilesDir(); }
    void choose(const QString &file)
    {
        m_panel->refreshProfiles();
        const int index = m_panel->profileList()->findText(file);
        ASSERT_GT(index, 0) << qPrintable(file);
        m_panel->profileList()->setCurrentIndex(index);
        m_panel->onCurrentConfigChange(index);
    }

    QString m_userFolder;
    QTemporaryDir m_root;
    std::unique_ptr<DlpOrvaneApp> m_app;
    std::shared_ptr<Model> m_model;
    std::unique_ptr<SdSupportConfigFiles> m_panel;
};

TEST_F(SupportPanel, listsTheShippedProfilesAfterTheChoiceEntry)
{
    QComboBox *list = m_panel->profileList();
    ASSERT_GE(list->count(), 4);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Choose support settings"));
    EXPECT_GE(list->findText(QStringLiteral("medium.ini")), 1);
    EXPECT_FALSE(m_panel->generateButton()->isEnabled());
    EXPECT_FALSE(m_panel->editButton()->isEnabled());
    EXPECT_FALSE(m_panel->modifyButton()->isEnabled());
    choose(QStringLiteral("medium.ini"));
    EXPECT_TRUE(m_panel->parametersValid());
    EXPECT_TRUE(m_panel->generateButton()->isEnabled());
    EXPECT_EQ(m_app->supportApp().parameters().supportHeight, 5.0f);
    m_panel->profileList()->setCurrentIndex(0);
    m_panel->onCurrentConfigChange(0);
    EXPECT_FALSE(m_panel->generateButton()->isEnabled());
}

TEST_F(SupportPanel, decimalCommaGapIsRefusedAndGenerateSaysWhy)
{
    writeProfile(QDir(profileDir()).filePath(QStringLiteral("comma.ini")), "A", "1,5");
    choose(QStringLiteral("comma.ini"));
    EXPECT_FALSE(m_panel->parametersValid());
    uitest::MessageBoxAnswerer answerer;
    m_panel->generateButton()->click();
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(),
              QStringLiteral("Support parameters is invalid, please modify the support "
                             "parameters!"));
    EXPECT_EQ(answerer.buttonTexts().first(), QStringLiteral("ok"));
    EXPECT_FALSE(m_app->supportApp().isBusy());
    EXPECT_FALSE(m_model->support());
}

TEST_F(SupportPanel, methodCKeepsThePreviousMethod)
{
    writeProfile(QDir(profileDir()).filePath(QStringLiteral("b.ini")), "B");
    writeProfile(QDir(profileDir()).filePath(QStringLiteral("c.ini")), "c");
    choose(QStringLiteral("b.ini"));
    EXPECT_EQ(m_panel->settings().parameters().method, 1);
    choose(QStringLiteral("c.ini"));
    EXPECT_TRUE(m_panel->parametersValid());
    EXPECT_EQ(m_panel->settings().parameters().method, 1);
}

TEST_F(SupportPanel, slcModelIsRefusedWithTheWrittenMessage)
{
    m_model->setSourceKind(SourceKind::SlcContours);
    choose(QStringLiteral("medium.ini"));
    uitest::MessageBoxAnswerer answerer;
    m_panel->generateButton()->click();
    m_panel->editButton()->click();
    ASSERT_EQ(answerer.count(), 2);
    EXPECT_EQ(answerer.texts().at(0), QStringLiteral("Cannot generate supports"));
    EXPECT_EQ(answerer.texts().at(1), QStringLiteral("Cannot edit supports"));
    EXPECT_EQ(answerer.titles().at(0), QStringLiteral("Tip"));
    EXPECT_FALSE(m_app->supportApp().isBusy());
    EXPECT_FALSE(m_app->supportApp().isEditing());
}

TEST_F(SupportPanel, generateThenRemoveAsksAndUndoBringsTheSupportsBack)
{
    choose(QStringLiteral("medium.ini"));
    m_panel->generateButton()->click();
    m_app->supportApp().waitForJob();
    uitest::settle();
    ASSERT_TRUE(m_model->support());
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Remove supports"));
    EXPECT_TRUE(m_panel->supportsPresent());

    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("NO"));
        m_panel->generateButton()->click();
        ASSERT_EQ(answerer.count(), 1);
        EXPECT_EQ(answerer.texts().first(),
                  QStringLiteral("Delete supports? Support cannot be restored."));
        EXPECT_EQ(answerer.titles().first(), QStringLiteral("Warning"));
        EXPECT_EQ(answerer.buttonTexts().first(), QStringLiteral("OK|NO"));
        EXPECT_TRUE(m_model->support());
    }
    {
        uitest::MessageBoxAnswerer answerer(QStringLiteral("OK"));
        m_panel->generateButton()->click();
        ASSERT_EQ(answerer.count(), 1);
    }
    uitest::settle();
    EXPECT_FALSE(m_model->support());
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Generate supports"));
    ASSERT_TRUE(m_app->undoCommand());
    uitest::settle();
    EXPECT_TRUE(m_model->support());
    EXPECT_EQ(m_panel->generateButton()->text(), QStringLiteral("Remove supports"));
}

TEST_F(SupportPanel, editStartAndStopFollowTheStates)
{
    choose(QStringLiteral("medium.ini"));
    m_panel->editButton()->click();
    uitest::settle();
    EXPECT_TRUE(m_app->supportApp().isEditing());
    EXPECT_EQ(m_panel->editButton()->text(), QStringLiteral("Stop editing supports"));
    EXPECT_FALSE(m_panel->generateButton()->isEnabled());
    m_panel->editButton()->click();
    m_app->supportApp().waitForJob();
    uitest::settle();
    EXPECT_FALSE(m_app->supportApp().isEditing());
    EXPECT_EQ(m_panel->editButton()->text(), QStringLiteral("Edit support"));
    EXPECT_TRUE(m_panel->generateButton()->isEnabled());
}

// One row of the button-state table.
struct StateRow {
    const char *name;
    int type;
    bool panel, gene, edit;
    const char *geneText; // after the row, starting from "Generate supports" / "Edit support"
    const char *editText;
    bool mainEnabled;
};

class ButtonStates : public SupportPanel, public ::testing::WithParamInterface<StateRow>
{
};

TEST_P(ButtonStates, followTheTable)
{
    const StateRow &row = GetParam();
    choose(QStringLiteral("medium.ini"));
    QSignalSpy main(m_panel.get(), &SdSupportConfigFiles::updateMainEnabled);
    QSignalSpy names(m_panel.get(), &SdSupportConfigFiles::updateMainUIName);
    m_panel->onSupportState(row.type, 3);
    uitest::settle();
    EXPECT_EQ(m_panel->isEnabled(), row.panel);
    EXPECT_EQ(m_panel->generateButton()->isEnabled(), row.gene);
    EXPECT_EQ(m_panel->editButton()->isEnabled(), row.edit);
    EXPECT_EQ(m_panel->generateButton()->text(), QLatin1String(row.geneText));
    EXPECT_EQ(m_panel->editButton()->text(), QLatin1String(row.editText));
    ASSERT_EQ(main.count(), 1);
    EXPECT_EQ(main.at(0).at(0).toInt(), 3);
    EXPECT_EQ(main.at(0).at(1).toBool(), row.mainEnabled);
    ASSERT_EQ(names.count(), 1);
    EXPECT_EQ(names.at(0).at(0).toString(), QLatin1String(row.geneText));
    EXPECT_EQ(names.at(0).at(1).toString(), QLatin1String(row.editText));
}

INSTANTIATE_TEST_SUITE_P(
    SdSupportConfigFiles, ButtonStates,
    ::testing::Values(
        StateRow{"generateStarts", 0, false, false, false, "Generate supports", "Edit support",
                 false},
        StateRow{"supportsGenerated", 1, true, true, true, "Remove supports", "Edit support", true},
        StateRow{"supportsRemoved", 2, true, true, true, "Generate supports", "Edit support", true},
        StateRow{"editingBegins", 3, true, false, true, "Generate supports",
                 "Stop editing supports", false},
        StateRow{"endEditingStarts", 4, true, false, false, "Generate supports", "Edit support",
                 false},
        StateRow{"endEditingEnds", 5, true, true, true, "Generate supports", "Edit support", true}),
    [](const ::testing::TestParamInfo<StateRow> &info) { return std::string(info.param.name); });

// ---- the parameter dialog --------------------------------------------------------------------

class SupportDialog : public SupportPanel
{
  protected:
    std::unique_ptr<DlpSupportWidget> open(const QString &file)
    {
        auto dialog =
            std::make_unique<DlpSupportWidget>(profileDir(), &m_app->supportApp(), nullptr);
        dialog->openProfile(file);
        return dialog;
    }
};

TEST_F(SupportDialog, opensWithTheProfilesValues)
{
    auto dialog = open(QStringLiteral("medium.ini"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modify support parameter"));
    EXPECT_EQ(dialog->field(DlpSupportWidget::OverhangDiameter)->text(), QStringLiteral("0.6"));
    EXPECT_EQ(dialog->field(DlpSupportWidget::BaseExtern)->text(), QStringLiteral("2.5"));
    EXPECT_TRUE(dialog->methodA()->isChecked());
    EXPECT_FALSE(dialog->hasSupportsBox()->isChecked());
    EXPECT_TRUE(dialog->addBaseBox()->isChecked());
}

struct TypingRow {
    const char *name;
    const char *typed;
    const char *shown;
};

class FieldFilter : public SupportDialog, public ::testing::WithParamInterface<TypingRow>
{
};

TEST_P(FieldFilter, removesWhatBreaksTheNumber)
{
    auto dialog = open(QStringLiteral("medium.ini"));
    QLineEdit *edit = dialog->field(DlpSupportWidget::SupportGaps);
    edit->clear();
    QTest::keyClicks(edit, QLatin1String(GetParam().typed));
    EXPECT_EQ(edit->text(), QLatin1String(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    DlpSupportWidget, FieldFilter,
    ::testing::Values(TypingRow{"digits", "12", "12"}, TypingRow{"onePoint", "1.5", "1.5"},
                      TypingRow{"sevenDecimals", "1.1234567", "1.1234567"},
                      TypingRow{"eighthDecimalRemoved", "1.12345678", "1.1234567"},
                      TypingRow{"secondPointRemoved", "1.2.", "1.2"},
                      TypingRow{"commaRemoved", "1,5", "15"}, TypingRow{"letterRemoved", "2a", "2"},
                      TypingRow{"leadingPointRemoved", ".5", "5"},
                      TypingRow{"minusRemoved", "-1", "1"}),
    [](const ::testing::TestParamInfo<TypingRow> &info) { return std::string(info.param.name); });

struct CheckRow {
    const char *name;
    const char *values[DlpSupportWidget::FieldCount];
    bool passes;
    const char *warning; // empty when no specific warning
    bool linkCleared;
};

class FieldCheck : public SupportDialog, public ::testing::WithParamInterface<CheckRow>
{
};

TEST_P(FieldCheck, followsTheRules)
{
    const CheckRow &row = GetParam();
    auto dialog = open(QStringLiteral("medium.ini"));
    for (int i = 0; i < DlpSupportWidget::FieldCount; ++i)
        dialog->field(DlpSupportWidget::Field(i))->setText(QLatin1String(row.values[i]));
    uitest::MessageBoxAnswerer answerer;
    EXPECT_EQ(dialog->checkFields(), row.passes);
    if (*row.warning) {
        ASSERT_EQ(answerer.count(), 1);
        EXPECT_EQ(answerer.texts().first(), QLatin1String(row.warning));
        EXPECT_EQ(answerer.titles().first(), QStringLiteral("Warning"));
    } else {
        EXPECT_EQ(answerer.count(), 0);
    }
    EXPECT_EQ(dialog->field(DlpSupportWidget::LinkPointDiameter)->text().isEmpty(),
              row.linkCleared || !*row.values[DlpSupportWidget::LinkPointDiameter]);
}

INSTANTIATE_TEST_SUITE_P(
    DlpSupportWidget, FieldCheck,
    ::testing::Values(
        CheckRow{"allFilled", {"0.6", "0.4", "2", "0.8", "5", "1.2", "2.5"}, true, "", false},
        CheckRow{"emptyOverhang", {"", "0.4", "2", "0.8", "5", "1.2", "2.5"}, false, "", false},
        CheckRow{"emptyGap", {"0.6", "0.4", "", "0.8", "5", "1.2", "2.5"}, false, "", false},
        CheckRow{"linkAboveOverhang",
                 {"0.3", "0.4", "2", "0.8", "5", "1.2", "2.5"},
                 false,
                 "Link point diameter cannot exceed top diameter",
                 true},
        CheckRow{"linkAboveSupport",
                 {"0.6", "0.5", "2", "0.4", "5", "1.2", "2.5"},
                 false,
                 "Link point diameter cannot exceed support diameter",
                 true},
        CheckRow{"linkEqualToBoth", {"0.4", "0.4", "2", "0.4", "5", "1.2", "2.5"}, true, "", false},
        CheckRow{
            "emptySupportHeight", {"0.6", "0.4", "2", "0.8", "", "1.2", "2.5"}, false, "", false},
        CheckRow{"emptyBaseExtern", {"0.6", "0.4", "2", "0.8", "5", "1.2", ""}, false, "", false}),
    [](const ::testing::TestParamInfo<CheckRow> &info) { return std::string(info.param.name); });

TEST_F(SupportDialog, applyWritesTheProfileAndPushesTheValues)
{
    choose(QStringLiteral("medium.ini"));
    auto *dialog = new DlpSupportWidget(profileDir(), &m_app->supportApp(), m_panel.get());
    QObject::connect(dialog, &DlpSupportWidget::sParametersApplied, m_panel.get(),
                     &SdSupportConfigFiles::onParametersApplied);
    dialog->openProfile(QStringLiteral("medium.ini"));
    dialog->field(DlpSupportWidget::SupportHeight)->setText(QStringLiteral("6.5"));
    dialog->methodB()->setChecked(true);
    dialog->addBaseBox()->setChecked(false);
    dialog->applyButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const SupportParameters &p = m_app->supportApp().parameters();
    EXPECT_EQ(p.supportHeight, 6.5f);
    EXPECT_EQ(p.method, 1);
    EXPECT_EQ(p.baseMode, 2);
    EXPECT_FLOAT_EQ(p.overhangRadius, 0.3f);
    QSettings ini(QDir(profileDir()).filePath(QStringLiteral("medium.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("support/supportHeight")).toString(), QStringLiteral("6.5"));
    EXPECT_EQ(ini.value(QStringLiteral("support/method")).toString(), QStringLiteral("B"));
    EXPECT_EQ(ini.value(QStringLiteral("support/isAddSupportBase")).toString(),
              QStringLiteral("false"));
    EXPECT_TRUE(m_panel->parametersValid());
}

TEST_F(SupportDialog, runawayValuesAreRefusedAtApplyWithTheReason)
{
    choose(QStringLiteral("medium.ini"));
    const QByteArray before =
        testsupport::readFile(QDir(profileDir()).filePath(QStringLiteral("medium.ini")));
    auto dialog = open(QStringLiteral("medium.ini"));
    QSignalSpy applied(dialog.get(), &DlpSupportWidget::sParametersApplied);
    dialog->field(DlpSupportWidget::SupportGaps)->setText(QStringLiteral("0.001"));
    uitest::MessageBoxAnswerer answerer;
    dialog->applyButton()->click();
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("support gap")))
        << qPrintable(answerer.texts().first());
    ASSERT_EQ(applied.count(), 1);
    EXPECT_FALSE(applied.at(0).at(0).toBool());
    EXPECT_EQ(testsupport::readFile(QDir(profileDir()).filePath(QStringLiteral("medium.ini"))),
              before);
    dialog->field(DlpSupportWidget::SupportGaps)->setText(QStringLiteral("2"));
    dialog->field(DlpSupportWidget::SupportDiameter)->setText(QStringLiteral("0"));
    dialog->field(DlpSupportWidget::LinkPointDiameter)->setText(QStringLiteral("0"));
    dialog->applyButton()->click();
    ASSERT_EQ(answerer.count(), 2);
    EXPECT_TRUE(answerer.texts().at(1).contains(QStringLiteral("support diameter")))
        << qPrintable(answerer.texts().at(1));
}

TEST_F(SupportDialog, failedLinkCheckAlsoSaysParameterCannotBeEmpty)
{
    auto dialog = open(QStringLiteral("medium.ini"));
    dialog->field(DlpSupportWidget::LinkPointDiameter)->setText(QStringLiteral("0.9"));
    uitest::MessageBoxAnswerer answerer;
    dialog->applyButton()->click();
    ASSERT_EQ(answerer.count(), 2);
    EXPECT_EQ(answerer.texts().at(0),
              QStringLiteral("Link point diameter cannot exceed top diameter"));
    EXPECT_EQ(answerer.texts().at(1), QStringLiteral("Parameter cannot be empty!"));
}

TEST_F(SupportDialog, saveAsWritesIntoTheProfileDirectoryByFileNameOnly)
{
    choose(QStringLiteral("medium.ini"));
    QString title, proposed, filter;
    const QString elsewhere = m_root.filePath(QStringLiteral("other/mine.ini"));
    DlpSupportWidget::setSaveFileNameProvider(
        [&](const QString &t, const QString &p, const QString &f) {
            title = t;
            proposed = p;
            filter = f;
            return elsewhere;
        });
    auto *dialog = new DlpSupportWidget(profileDir(), &m_app->supportApp(), m_panel.get());
    QObject::connect(dialog, &DlpSupportWidget::supdateParaFileList, m_panel.get(),
                     &SdSupportConfigFiles::onUpdateParaFileList);
    dialog->openProfile(QStringLiteral("medium.ini"));
    dialog->field(DlpSupportWidget::SupportGaps)->setText(QStringLiteral("3"));
    uitest::MessageBoxAnswerer answerer;
    dialog->saveButton()->click();
    EXPECT_EQ(title, QStringLiteral("Support configuration"));
    EXPECT_EQ(filter, QStringLiteral("Support configuration files(*.ini)"));
    EXPECT_EQ(proposed, QDir(profileDir()).filePath(QStringLiteral("medium.ini")));
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.texts().first(), QStringLiteral("Support confirguration files saved "));
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    const QString saved = QDir(profileDir()).filePath(QStringLiteral("mine.ini"));
    ASSERT_TRUE(QFileInfo::exists(saved));
    QSettings ini(saved, QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("support/supportGaps")).toString(), QStringLiteral("3"));
    EXPECT_EQ(m_panel->profileList()->currentText(), QStringLiteral("mine.ini"));
    EXPECT_TRUE(m_panel->parametersValid());
    EXPECT_EQ(m_app->supportApp().parameters().supportGaps, 3.0f);
}

TEST_F(SupportDialog, discardChangesNothing)
{
    const QByteArray before =
        testsupport::readFile(QDir(profileDir()).filePath(QStringLiteral("medium.ini")));
    auto dialog = open(QStringLiteral("medium.ini"));
    dialog->field(DlpSupportWidget::SupportHeight)->setText(QStringLiteral("9"));
    dialog->discardButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(testsupport::readFile(QDir(profileDir()).filePath(QStringLiteral("medium.ini"))),
              before);
}

// ---- through the real window -----------------------------------------------------------------

class SupportWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qputenv("RESINOR_DISCOVERY_TARGET", "127.0.0.1");
        m_userFolder = uitest::isolatedUserFolder();
        QSettings().setValue(QStringLiteral("enableCheckNewVersion"), false);
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en")));
    }
    // The settings belong to the whole test program.
    void TearDown() override { QSettings().remove(QStringLiteral("enableCheckNewVersion")); }

    QString m_userFolder;
    QTemporaryDir m_files;
};

TEST_F(SupportWindow, generateFromThePanelThenUndoFromTheEditMenu)
{
    const QString stl = m_files.filePath(QStringLiteral("box.stl"));
    testsupport::writeFile(stl,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 12, 8, 6)));
    auto window = std::make_unique<CDlpMainWindow>(QStringList{stl}, nullptr, m_userFolder,
                                                   uitest::programFolder());
    window->showNormal();
    window->setGeometry(0, 0, 1280, 800);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    DlpOrvaneApp *app = window->app();
    for (int i = 0;
         i < 200 && (app->scene().models().empty() || app->getImportManager()->isLoading()); ++i)
        QTest::qWait(50);
    uitest::settle();
    ASSERT_EQ(app->scene().models().size(), 1u);
    const auto model = app->scene().models().front();

    DlpMainWindow *main = window->mainWindow();
    main->toolStrip()->button(DlpModelOperateWidget::Support)->click();
    uitest::settle();
    auto *panel = qobject_cast<SdSupportConfigFiles *>(main->panel(DlpModelOperateWidget::Support));
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->isVisible());
    const int medium = panel->profileList()->findText(QStringLiteral("medium.ini"));
    ASSERT_GT(medium, 0);
    panel->profileList()->setCurrentIndex(medium);
    emit panel->profileList()->activated(medium);
    ASSERT_TRUE(panel->generateButton()->isEnabled());
    QTest::mouseClick(panel->generateButton(), Qt::LeftButton);
    app->supportApp().waitForJob();
    uitest::settle();
    ASSERT_TRUE(model->support());
    EXPECT_FALSE(model->support()->parts.empty());
    EXPECT_FALSE(model->overhangs().empty());
    model->recomputeBounds();
    EXPECT_FLOAT_EQ(model->boundingBox().min.z, 5.0f);
    EXPECT_EQ(panel->generateButton()->text(), QStringLiteral("Remove supports"));
    EXPECT_TRUE(main->toolStrip()->isEnabled());
    EXPECT_TRUE(main->dlpMenuBar()->isEnabled());
    QTest::qWait(200);

    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("screenshots"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/support_panel_en.png")));

    QAction *undo = main->dlpMenuBar()->action(QStringLiteral("undo"));
    ASSERT_TRUE(undo);
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    uitest::settle();
    EXPECT_FALSE(model->support());
    EXPECT_TRUE(model->overhangs().empty());
    model->recomputeBounds();
    EXPECT_FLOAT_EQ(model->boundingBox().min.z, 0.0f);
    EXPECT_EQ(panel->generateButton()->text(), QStringLiteral("Generate supports"));

    uitest::MessageBoxAnswerer answerer(QStringLiteral("No"));
    EXPECT_TRUE(window->close());
}

} // namespace
