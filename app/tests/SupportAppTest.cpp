#include "app/CSupportApp.h"
#include "app/CommandStack.h"
#include "app/DlpOrvaneApp.h"
#include "app/EAppEvent.h"
#include "geometry/Model.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

using Orvane3Ds::CSupportApp;
using ModelPtr = std::shared_ptr<Model>;

// Every number the support work can change on a model: its vertices, its overhang points and
// its generated support meshes, as raw bytes.
struct SupportImage {
    std::vector<Point3f> vertices;
    std::vector<std::vector<Point3f>> overhangs;
    std::vector<std::vector<Point3f>> supports;
    bool hasSupports = false;

    static SupportImage of(const Model &model)
    {
        SupportImage image;
        image.vertices = model.vertices();
        for (const auto &point : model.overhangs())
            image.overhangs.push_back(point->vertices());
        if (model.support())
            for (const auto &part : model.support()->parts)
                image.supports.push_back(part->vertices());
        image.hasSupports = model.hasSupports();
        return image;
    }
    static bool same(const std::vector<Point3f> &a, const std::vector<Point3f> &b)
    {
        return a.size() == b.size() &&
               (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Point3f)) == 0);
    }
    bool operator==(const SupportImage &o) const
    {
        if (!same(vertices, o.vertices) || overhangs.size() != o.overhangs.size() ||
            supports.size() != o.supports.size() || hasSupports != o.hasSupports)
            return false;
        for (std::size_t i = 0; i < overhangs.size(); ++i)
            if (!same(overhangs[i], o.overhangs[i]))
                return false;
        for (std::size_t i = 0; i < supports.size(); ++i)
            if (!same(supports[i], o.supports[i]))
                return false;
        return true;
    }
};

SupportParameters mediumParams()
{
    SupportParameters p;
    p.method = 0;
    p.overhangRadius = 0.3f;
    p.linkPointRadius = 0.2f;
    p.supportGaps = 2.0f;
    p.supportRadius = 0.4f;
    p.supportHeight = 5.0f;
    p.baseHeight = 1.2f;
    p.baseExtern = 2.5f;
    p.baseMode = 1;
    p.hasSupports = false;
    p.profileName = "medium.ini";
    return p;
}

class SupportAppTest : public ::testing::Test
{
  public:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath("settings"));
        QDir().mkpath(m_root.filePath("install/config"));
        testsupport::writeFile(m_root.filePath("install/config/v0.dsc"), "description");
        m_app = std::make_unique<DlpOrvaneApp>(nullptr, m_root.filePath("appdata"),
                                               m_root.filePath("install"));
        m_app->subscribe(QStringLiteral("test"), [this](Orvane3Ds::EAppEvent e, const QString &t) {
            if (e == Orvane3Ds::CommandRecorded)
                m_recorded << t;
            if (e == Orvane3Ds::SupportState)
                m_supportEvents << t;
        });
        m_model = testsupport::soupBoxModel(-5.0f, -4.0f, 0.0f, 5.0f, 4.0f, 3.0f);
        m_model->setBaseName(QStringLiteral("box"));
        m_model->setSize(m_model->extent());
        m_app->addModelsToScene({m_model});
        support().setStateCallback([this](int type, int count) {
            m_states.push_back(type);
            m_counts.push_back(count);
        });
        support().setSupportParameters(mediumParams());
    }

    CSupportApp &support() { return m_app->supportApp(); }
    float lowestZ()
    {
        m_model->recomputeBounds();
        return m_model->boundingBox().min.z;
    }
    void generateAndWait()
    {
        ASSERT_TRUE(support().generate());
        support().waitForJob();
    }

    QTemporaryDir m_root;
    std::unique_ptr<DlpOrvaneApp> m_app;
    ModelPtr m_model;
    std::vector<int> m_states;
    std::vector<int> m_counts;
    QStringList m_recorded;
    QStringList m_supportEvents;
};

TEST_F(SupportAppTest, GenerateLiftsFindsPointsBuildsSupportsAndRecords)
{
    generateAndWait();
    EXPECT_TRUE(support().lastError().isEmpty()) << support().lastError().toStdString();
    EXPECT_FALSE(m_model->overhangs().empty());
    ASSERT_TRUE(m_model->support());
    EXPECT_FALSE(m_model->support()->parts.empty());
    EXPECT_TRUE(m_model->hasSupports());
    EXPECT_FLOAT_EQ(lowestZ(), 5.0f);
    EXPECT_EQ(m_model->supportParameters(), mediumParams());
    EXPECT_EQ(m_states, (std::vector<int>{0, 1}));
    EXPECT_EQ(m_counts, (std::vector<int>{0, 1}));
    EXPECT_EQ(m_recorded, QStringList{QStringLiteral("Undo, ,AddSupport")});
    ASSERT_FALSE(m_supportEvents.isEmpty());
    EXPECT_EQ(m_supportEvents.last(), QStringLiteral("%1,1,true").arg(m_model->overhangs().size()));
    EXPECT_FALSE(support().isBusy());
}

TEST_F(SupportAppTest, GenerateUndoRedoIsBitIdentical)
{
    const SupportImage before = SupportImage::of(*m_model);
    generateAndWait();
    const SupportImage generated = SupportImage::of(*m_model);
    ASSERT_FALSE(generated.supports.empty());

    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == before);
    EXPECT_FALSE(m_model->support());
    EXPECT_TRUE(m_model->overhangs().empty());

    ASSERT_TRUE(m_app->redoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == generated);
    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == before);
}

TEST_F(SupportAppTest, GenerateTwiceGivesTheSameSupports)
{
    generateAndWait();
    const SupportImage first = SupportImage::of(*m_model);
    support().removeSupports(false, false);
    generateAndWait();
    EXPECT_TRUE(SupportImage::of(*m_model) == first);
}

TEST_F(SupportAppTest, CancelLeavesTheModelExactlyAsBefore)
{
    const SupportImage before = SupportImage::of(*m_model);
    // The first progress report of the job presses cancel.
    m_app->setProgressCallback([this](int, const QString &, bool) { m_app->setCancel(true); });
    QSignalSpy finished(&support(), &CSupportApp::jobFinished);
    generateAndWait();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_EQ(finished.at(0).at(1).toString(), QStringLiteral("Canceled"));
    EXPECT_TRUE(SupportImage::of(*m_model) == before);
    EXPECT_FLOAT_EQ(lowestZ(), 0.0f);
    EXPECT_TRUE(m_recorded.isEmpty());
    EXPECT_FALSE(m_app->commandStack().canUndo());
    EXPECT_EQ(m_states, (std::vector<int>{0, 2}));
}

TEST_F(SupportAppTest, RunawayParametersAreRefusedWithTheReasonAndChangeNothing)
{
    SupportParameters zero = mediumParams();
    zero.supportRadius = 0.0f;
    support().setSupportParameters(zero);
    const SupportImage before = SupportImage::of(*m_model);
    generateAndWait();
    EXPECT_TRUE(support().lastError().contains(QStringLiteral("support diameter")))
        << support().lastError().toStdString();
    EXPECT_TRUE(SupportImage::of(*m_model) == before);
    EXPECT_FALSE(m_app->commandStack().canUndo());
}

TEST_F(SupportAppTest, RemoveThenUndoRestoresTheSupports)
{
    generateAndWait();
    const SupportImage generated = SupportImage::of(*m_model);
    m_states.clear();
    m_recorded.clear();
    support().removeSupports(true, true);
    EXPECT_FALSE(m_model->support());
    EXPECT_TRUE(m_model->overhangs().empty());
    EXPECT_FALSE(m_model->hasSupports());
    EXPECT_FLOAT_EQ(lowestZ(), 0.0f);
    EXPECT_EQ(m_states, (std::vector<int>{2}));
    EXPECT_EQ(m_recorded, QStringList{QStringLiteral("Undo, ,RemoveSupport")});

    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == generated);
    ASSERT_TRUE(m_app->redoCommand());
    EXPECT_FALSE(m_model->support());
    EXPECT_FLOAT_EQ(lowestZ(), 0.0f);
}

TEST_F(SupportAppTest, RemoveWithoutRecordSendsNoCommand)
{
    generateAndWait();
    m_recorded.clear();
    support().removeSupports(false, false);
    EXPECT_FALSE(m_model->support());
    EXPECT_TRUE(m_recorded.isEmpty());
    EXPECT_EQ(m_app->commandStack().undoList().size(), 1u);
}

TEST_F(SupportAppTest, EditingWithoutPointsLowersTheModelAndUndoBringsTheSupportsBack)
{
    generateAndWait();
    const SupportImage generated = SupportImage::of(*m_model);
    m_states.clear();
    ASSERT_TRUE(support().beginEditing());
    EXPECT_TRUE(support().isEditing());
    EXPECT_FALSE(m_model->support());
    EXPECT_FLOAT_EQ(lowestZ(), 5.0f);
    EXPECT_FALSE(support().generate()); // refused while editing
    // The user deletes every point.
    m_app->scene().removeOverhangPoints(m_model->overhangs());
    ASSERT_TRUE(support().endEditing());
    support().waitForJob();
    EXPECT_EQ(m_states, (std::vector<int>{3, 4, 5, 2}));
    EXPECT_FLOAT_EQ(lowestZ(), 0.0f);
    EXPECT_FALSE(m_model->hasSupports());

    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == generated);
}

TEST_F(SupportAppTest, EditingWithPointsGeneratesForTheEditedPoints)
{
    generateAndWait();
    const SupportImage generated = SupportImage::of(*m_model);
    ASSERT_GT(m_model->overhangs().size(), 1u);
    ASSERT_TRUE(support().beginEditing());
    m_app->scene().removeOverhangPoint(m_model->overhangs().front());
    const std::size_t kept = m_model->overhangs().size();
    m_states.clear();
    ASSERT_TRUE(support().endEditing());
    support().waitForJob();
    EXPECT_EQ(m_states, (std::vector<int>{4, 1, 5}));
    EXPECT_EQ(m_model->overhangs().size(), kept);
    ASSERT_TRUE(m_model->support());
    EXPECT_TRUE(m_model->hasSupports());
    const SupportImage edited = SupportImage::of(*m_model);
    EXPECT_FALSE(edited == generated);

    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == generated);
    ASSERT_TRUE(m_app->redoCommand());
    EXPECT_TRUE(SupportImage::of(*m_model) == edited);
}

TEST_F(SupportAppTest, EditingEndsForTheEditedModelAfterTheSelectionChanged)
{
    generateAndWait();
    ASSERT_GT(m_model->overhangs().size(), 1u);
    ASSERT_TRUE(support().beginEditing());
    m_app->scene().removeOverhangPoint(m_model->overhangs().front());
    const std::size_t kept = m_model->overhangs().size();
    EXPECT_FALSE(m_app->undoCommand()) << "undo waits for the session";
    auto other = testsupport::soupBoxModel(20.0f, 0.0f, 0.0f, 26.0f, 6.0f, 4.0f);
    m_app->addModelsToScene({other});
    m_app->scene().clearSelection();
    m_app->scene().select(other);
    ASSERT_FALSE(m_app->scene().isSelected(m_model));
    ASSERT_TRUE(support().endEditing());
    support().waitForJob();
    EXPECT_EQ(m_model->overhangs().size(), kept);
    ASSERT_TRUE(m_model->support()) << "the edited points keep their supports";
    EXPECT_FALSE(m_model->support()->parts.empty());
    EXPECT_FLOAT_EQ(lowestZ(), 5.0f);
    EXPECT_FALSE(other->support());
}

TEST_F(SupportAppTest, GenerateWithoutModelEndsAtOnce)
{
    m_app->scene().clearSelection();
    QSignalSpy finished(&support(), &CSupportApp::jobFinished);
    m_states.clear();
    ASSERT_TRUE(support().generate());
    EXPECT_FALSE(support().isBusy());
    EXPECT_EQ(m_states, (std::vector<int>{0, 2}));
    EXPECT_TRUE(m_recorded.isEmpty());
}

} // namespace
