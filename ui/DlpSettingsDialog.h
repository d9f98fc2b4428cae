#pragma once

#include <QDialog>

// The options dialog of the hidden "Choice" entry: no settings of its own yet, only a way to
// close it; the caller gives the title.
class DlpSettingsDialog : public QDialog
{
    Q_OBJECT
  public:
    explicit DlpSettingsDialog(QWidget *parent = nullptr);
};
