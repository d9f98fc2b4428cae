#include "GlTestSupport.h"

#include "render/GLBox.h"
#include "render/InputEvent.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

using namespace Orvane3Ds;

namespace
{

// Records what the widget hands to the application and draws through a real engine.
class RecordingApp : public IGlApplication
{
  public:
    explicit RecordingApp(DScene *scene) : engine(scene) { engine.setQuiet(true); }
    bool initialiseGL() override { return engine.initialiseGL(); }
    void paintGL() override { engine.paintGL(); }
    void handleGLEvent(const void *record) override
    {
        types.push_back(inputEventType(record));
        if (types.back() == 14)
            resized = *static_cast<const ResizeEventRecord *>(record);
        engine.handleGLEvent(record);
    }
    void setRepaintCallback(std::function<void()> repaint) override
    {
        hasRepaint = static_cast<bool>(repaint);
    }

    CRenderEngine engine;
    std::vector<std::uint16_t> types;
    ResizeEventRecord resized;
    bool hasRepaint = false;
};

} // namespace

TEST(GLBox, drawsTheSceneThroughTheApplication)
{
    rendertest::useTestColours();
    DScene scene;
    RecordingApp app(&scene);
    GLBox box(&app);
    box.resize(320, 240);
    const QImage image = box.grabFramebuffer();
    ASSERT_TRUE(box.isGlReady());
    EXPECT_TRUE(app.hasRepaint);
    EXPECT_EQ(image.size(), QSize(320, 240) * box.devicePixelRatioF());
    ASSERT_FALSE(app.types.empty());
    EXPECT_EQ(app.types.front(), 14);
    EXPECT_EQ(app.resized.width, image.width());

    int gridPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            gridPixels += image.pixelColor(x, y) == QColor(237, 237, 237) ? 1 : 0;
    EXPECT_GT(gridPixels, 50);
}
