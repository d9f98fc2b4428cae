#include "GlTestSupport.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/InputEvent.h"

#include "app/DSharedApp.h"

#include <gtest/gtest.h>

using namespace Orvane3Ds;

namespace
{

class TestApp : public DSharedApp
{
  public:
    QString languageCodeText() const override { return QStringLiteral("en"); }
    QString applicationName() const override { return QStringLiteral("Resinor"); }
    QString softwareVersionText() const override { return QStringLiteral("1.0.0.1"); }
    QString updateQueryAddressText() const override { return {}; }
};

} // namespace

TEST(DRenderHost, startsTheViewOverTheApplicationScene)
{
    rendertest::CurrentContext context;
    ASSERT_TRUE(context.isCurrent());
    {
        TestApp app;
        DRenderHost host(app);
        host.engine().setQuiet(true);
        int readiness = -1;
        host.setGlReadyCallback([&readiness](bool ready) { readiness = ready ? 1 : 0; });
        int repaints = 0;
        host.setRepaintCallback([&repaints] { ++repaints; });
        ASSERT_TRUE(host.initialiseGL());
        EXPECT_EQ(readiness, 1);

        auto box = rendertest::boxModel(0, 0, 0, 10, 10, 10);
        app.scene().addModels({box});
        EXPECT_TRUE(host.engine().frame()->drawableOf(box));

        // Any mouse movement in the view makes the next standard view start from home.
        InputEvent move;
        move.type = 5;
        host.handleGLEvent(&move);
        EXPECT_TRUE(host.turner().isDirty());
        // The application's repaint requests reach the view.
        app.requestRepaint();
        EXPECT_GE(repaints, 1);

        // The clip slider's values reach the render state at the next paint.
        DlpClipZWidget clip(host.clipHooks());
        clip.setTotal(100);
        clip.zValueChanged(50);
        host.paintGL();
        EXPECT_FLOAT_EQ(host.engine().context()->clipZ, 5.01f);
        EXPECT_TRUE(host.engine().context()->upCut);

        EXPECT_FALSE(host.writePreview(7));
        EXPECT_FALSE(host.errorString().isEmpty());
        app.scene().removeModel(box);
    }
}
