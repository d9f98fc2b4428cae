#pragma once

#include <QDialog>
#include <QStringList>
#include <QTime>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The dialog that picks the layer thickness (the accuracy) and the file name of a work package
// before it is written. OK stores the name under "slicer/vxprName" and the thickness under
// "slicer/layerThickness".
//
// The name is the prefix (or, while the prefix is empty, the time stamp taken when the dialog
// was made), the accuracy and ".vxpr"; a prefix change puts a hyphen before the accuracy, an
// accuracy change does not. Characters a file name cannot hold are taken out of the prefix as
// they are typed, with a tooltip at the field.
class DlpConfigAccuracyForm : public QDialog
{
    Q_OBJECT
  public:
    explicit DlpConfigAccuracyForm(QWidget *parent = nullptr,
                                   const QTime &openedAt = QTime::currentTime());

    // Fills the list of layer thicknesses (entries as given, empty ones included) and enables
    // or disables choosing among them.
    void setAccuracies(const QStringList &accuracies, bool editable);
    // Window title as a translation key ("Accuracy Setting", "hasalreadSlc").
    void setTitleKey(const QString &key);

    QString timeStamp() const { return m_timeStamp; }
    QString fileName() const { return m_fileName; }
    QString accuracy() const;
    // True when the last prefix change had to take characters out (the tooltip case).
    bool lastPrefixRejected() const { return m_prefixRejected; }
    // True when the last OK was refused because the accuracy is not a positive number.
    bool lastAccuracyRejected() const { return m_accuracyRejected; }

    QComboBox *cbAccuracy() const { return m_cbAccuracy; }
    QLineEdit *lePrefix() const { return m_lePrefix; }
    QLabel *lbName() const { return m_lbName; }
    QPushButton *pbOk() const { return m_pbOk; }

  public slots:
    void onOK();
    void onPrefixChange(QString prefix);
    void onAccuracyChange(QString accuracy);

  protected:
    void changeEvent(QEvent *event) override;

  private:
    void showName();
    void retranslate();

    QString m_timeStamp;
    QString m_fileName;
    QString m_titleKey = QStringLiteral("Accuracy Setting");
    bool m_prefixRejected = false;
    bool m_accuracyRejected = false;

    QComboBox *m_cbAccuracy = nullptr;
    QLineEdit *m_lePrefix = nullptr;
    QLabel *m_lbName = nullptr;
    QLabel *m_lbAccuracy = nullptr;
    QLabel *m_lbPrefix = nullptr;
    QLabel *m_lbNameTitle = nullptr;
    QPushButton *m_pbOk = nullptr;
};
