#include "ui/DlpSupportPanels.h"

#include "ui/DSupportWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/SdSupportConfigFiles.h"

#include <QPointer>
#include <QToolButton>

void installSupportPanels(DlpMainWindow &window, DSharedApp &app,
                          std::function<Orvane3Ds::DViewInput *()> input)
{
    auto *panel = new SdSupportConfigFiles(&app);
    panel->setInputProvider(std::move(input));
    window.setPanel(DlpModelOperateWidget::Support, panel);
    QPointer<DlpMainWindow> target(&window);
    QObject::connect(panel, &SdSupportConfigFiles::updateMainEnabled, &window,
                     [target](int, bool enabled) {
                         if (!target)
                             return;
                         target->toolStrip()->setEnabled(enabled);
                         if (target->dlpMenuBar())
                             target->dlpMenuBar()->setEnabled(enabled);
                     });
}

void installManualSupportPanel(DlpMainWindow &window, DSharedApp &app,
                               std::function<Orvane3Ds::DViewInput *()> input)
{
    auto *panel = new DSupportWindow(&app, std::move(input));
    window.setPanel(DlpModelOperateWidget::JewelrySupport, panel);
    QPointer<DlpMainWindow> target(&window);
    QObject::connect(panel, &DSupportWindow::updateMainEnabled, &window, [target](bool enabled) {
        if (!target)
            return;
        for (auto which : {DlpModelOperateWidget::Load, DlpModelOperateWidget::Device})
            target->toolStrip()->button(which)->setEnabled(enabled);
        if (target->dlpMenuBar())
            target->dlpMenuBar()->setEnabled(enabled);
    });
}
