#include "ui/DlpEditPanels.h"

#include "ui/DlpEditActions.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpScaleWidget.h"
#include "ui/SdModelLayout.h"
#include "ui/SdModelRorate.h"

void installEditPanels(DlpMainWindow &window, DSharedApp &app,
                       std::function<Orvane3Ds::DViewInput *()> input, DlpMenuBar &menuBar)
{
    window.setPanel(DlpModelOperateWidget::Scale, new DlpScaleWidget(&app));
    window.setPanel(DlpModelOperateWidget::Rorate, new SdModelRorate(&app, input));
    window.setPanel(DlpModelOperateWidget::Layout, new SdModelLayout(&app, input));
    auto *actions = new DlpEditActions(&app, &menuBar, &window);
    actions->setObjectName(QStringLiteral("DlpEditActions"));
}
