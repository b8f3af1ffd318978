#pragma once

#include "app/text_lines.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QCompleter;
class QLineEdit;
class QRadioButton;

// The few controls of the main window that carry more than Qt's own widgets:
// the text view that holds bytes, the radio group with an item index and a
// click event, and the spin box whose value is read from its text.
namespace kov {

/// Read-only text view over the file's bytes. Lines() is the text as loaded
/// and rewritten; the view shows it decoded from Windows-1251. A line longer
/// than MaxShownLineLength characters is shown in pieces of that length, each
/// further piece on a row of its own after a continuation mark, so that a
/// file without line breaks costs no more to show than one with them (the
/// view lays out only the rows in sight, but always a whole row).
class TMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr qsizetype MaxShownLineLength = 1024;
    /// Starts each further piece of a long line.
    static constexpr QChar ContinuationMark = QChar(0x21AA);

    explicit TMemo(QWidget *parent = nullptr);

    const TTextLines &Lines() const { return m_lines; }
    void SetLines(const TTextLines &lines);

    /// How one line is shown: Windows-1251 characters, with control bytes as
    /// their visible control pictures (U+2400 + byte) so nothing disappears.
    static QString DisplayText(const QByteArray &line);

private:
    TTextLines m_lines;
};

/// A framed group of radio buttons laid out in columns, one selected.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const;
    void SetItems(const QStringList &items);
    int Columns() const { return m_columns; }
    void SetColumns(int columns);
    /// Index of the selected item, -1 when none is.
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton *Button(int index) const;

    /// Fired when the selected item changes, by the user or by SetItemIndex,
    /// and when the user clicks the item already selected.
    std::function<void(QObject *sender)> OnClick;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void ArrangeButtons();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    int m_columns = 1;
    /// The click in progress has selected its item (and fired for it).
    bool m_selectedByClick = false;
};

/// Spin box whose value, as the rest of the program reads it, is its text
/// parsed as a decimal integer, 0 when the text is not a number. A text left
/// without a number (emptied, or a lone sign) keeps reading 0: it becomes 0,
/// clamped to the bounds, when the box loses focus, and the arrows step from
/// there rather than from the value shown before.
class TSpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    int Value() const;
    /// Stores the value clamped to MinValue..MaxValue.
    void SetValue(int value) { setValue(value); }
    int MinValue() const { return minimum(); }
    int MaxValue() const { return maximum(); }

    void stepBy(int steps) override;
};

/// File dialog with a default extension: in an open dialog a typed name
/// without extension that does not exist is tried with DefaultExt added, so
/// files without extension stay openable. A name that does not exist is
/// accepted as typed (the caller reports it). Our own dialog, never the
/// desktop's, so it behaves the same everywhere.
class TFileDialog : public QFileDialog
{
    Q_OBJECT
public:
    TFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &filter);

    /// Default extension as a pattern ("*.inc") or empty.
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString &ext) { m_defaultExt = ext; }

    /// The filter in the classic form "Description|pattern|Description|pattern",
    /// turned into Qt's form with the descriptions shown as written.
    static QString QtFilter(const QString &classicFilter);

    /// The chosen file name as the user accepted it, empty when none.
    QString FileName() const;

public slots:
    void accept() override;
    /// Closes the dialog together with its name field's completion list.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *NameEdit() const;

    QString m_defaultExt;
    /// The name field's completer, detached while the dialog is closed.
    QPointer<QCompleter> m_nameCompleter;
    /// The name with DefaultExt added, when accept() had to add it.
    QString m_chosen;
};

} // namespace kov
