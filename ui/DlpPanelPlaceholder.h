#pragma once

#include <QFrame>

class QLabel;

// A floating panel that only shows its title: it stands in for a panel whose content is not
// offered yet, so that its tool-strip button still opens something the user can read.
class DlpPanelPlaceholder : public QFrame
{
    Q_OBJECT
  public:
    // `titleKey` is translated in the context "DlpPanelPlaceholder".
    explicit DlpPanelPlaceholder(const char *titleKey, QWidget *parent = nullptr);

    QString title() const;
    void retranslate();

  private:
    const char *m_titleKey;
    QLabel *m_title = nullptr;
    QLabel *m_note = nullptr;
};
