#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class DSharedApp;
class Model;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The basic-model dialog: builds a rectangular block (length x width x height, millimetres)
// and adds it to the scene like an imported part.
class BasicModelCreateWidget : public QDialog
{
    Q_OBJECT
  public:
    explicit BasicModelCreateWidget(DSharedApp *app, QWidget *parent = nullptr);

    QComboBox *typeBox() const { return m_type; }
    QLineEdit *lengthField() const { return m_length; }
    QLineEdit *widthField() const { return m_width; }
    QLineEdit *heightField() const { return m_height; }
    QPushButton *createButton() const { return m_create; }
    QPushButton *closeButton() const { return m_close; }
    void retranslate();

    // A closed block centred on the origin in x and y, from z = 0 to `height` (millimetres),
    // with its box and stored size set. Null for a size that is not positive.
    static std::shared_ptr<Model> makeRectangle(int length, int width, double height);

    // (title key, text key) of a warning; the default shows a message box (tests replace it).
    using Warning = std::function<void(const QString &title, const QString &text)>;
    void setWarning(Warning warning) { m_warning = std::move(warning); }

  public slots:
    void onCreateModel();
    void onModelTypeChanged(QString type);
    void onCreateRegctangle();

  protected:
    void changeEvent(QEvent *event) override;

  private:
    void warn(const char *title, const char *text);

    DSharedApp *m_app;
    QComboBox *m_type = nullptr;
    QLabel *m_typeLabel = nullptr;
    QLabel *m_lengthLabel = nullptr;
    QLabel *m_widthLabel = nullptr;
    QLabel *m_heightLabel = nullptr;
    QLineEdit *m_length = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_close = nullptr;
    Warning m_warning;
};
