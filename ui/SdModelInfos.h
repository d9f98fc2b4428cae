#pragma once

#include <QFrame>

class DSharedApp;
class QTableWidget;

// The model list: one row per scene model with its name, size, volume and counts. Clicking a
// row selects that model alone. Refreshes itself while shown whenever the scene changes.
class SdModelInfos : public QFrame
{
    Q_OBJECT
  public:
    explicit SdModelInfos(DSharedApp *app, QWidget *parent = nullptr);
    ~SdModelInfos() override;

    QTableWidget *table() const { return m_table; }
    void retranslate();

  public slots:
    void showWin();
    void updateModelInfoList();
    void tableWidgetClicked(int row, int col);

  protected:
    void changeEvent(QEvent *event) override;

  private:
    DSharedApp *m_app;
    QTableWidget *m_table = nullptr;
};
