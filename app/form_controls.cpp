#include "app/form_controls.h"

#include "app/cp1251.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCompleter>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

namespace kov {

TMemo::TMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
}

void TMemo::SetLines(const TTextLines &lines)
{
    m_lines = lines;
    QString shown;
    qsizetype size = 0;
    for (const QByteArray &line : m_lines.Lines)
        size += line.size() + 1;
    shown.reserve(size);
    for (qsizetype k = 0; k < m_lines.Lines.size(); ++k) {
        if (k > 0)
            shown.append(QLatin1Char('\n'));
        const QString text = DisplayText(m_lines.Lines[k]);
        shown.append(QStringView(text).left(MaxShownLineLength));
        for (qsizetype from = MaxShownLineLength; from < text.size(); from += MaxShownLineLength) {
            shown.append(QLatin1Char('\n'));
            shown.append(ContinuationMark);
            shown.append(QStringView(text).mid(from, MaxShownLineLength));
        }
    }
    setPlainText(shown);
}

QString TMemo::DisplayText(const QByteArray &line)
{
    QString text = DecodeWindows1251(line);
    for (QChar &ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\t')
            continue;
        if (u < 0x20)
            ch = QChar(static_cast<char16_t>(0x2400 + u));
        else if (u == 0x7F)
            ch = QChar(static_cast<char16_t>(0x2421));
    }
    return text;
}

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    // A click fires once: through the selection change when it selects a new
    // item, else (a click on the item already selected) through the click.
    connect(m_group, &QButtonGroup::idPressed, this, [this](int) { m_selectedByClick = false; });
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (!checked)
            return;
        m_selectedByClick = true;
        if (OnClick)
            OnClick(this);
    });
    connect(m_group, &QButtonGroup::idClicked, this, [this](int) {
        if (!m_selectedByClick && OnClick)
            OnClick(this);
        m_selectedByClick = false;
    });
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (const QRadioButton *b : m_buttons)
        items.append(b->text());
    return items;
}

void TRadioGroup::SetItems(const QStringList &items)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        m_group->addButton(button, static_cast<int>(i));
        m_buttons.append(button);
        button->show();
    }
    ArrangeButtons();
}

void TRadioGroup::SetColumns(int columns)
{
    if (columns < 1 || columns == m_columns)
        return;
    m_columns = columns;
    ArrangeButtons();
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *b = m_group->button(index))
        b->setChecked(true);
}

QRadioButton *TRadioGroup::Button(int index) const
{
    return (index >= 0 && index < m_buttons.size()) ? m_buttons[index] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

// The caption sits in the top edge of an etched frame; the items share the
// area under it in equal columns, filled row by row down each column.
void TRadioGroup::ArrangeButtons()
{
    if (m_buttons.isEmpty())
        return;
    const int textHeight = fontMetrics().height();
    const int rows = static_cast<int>((m_buttons.size() + m_columns - 1) / m_columns);
    const int room = qMax(rows, height() - textHeight - 5);
    const int columnWidth = (width() - 10) / m_columns;
    const int rowHeight = room / rows;
    const int top = textHeight + 1 + (room % rows) / 2;
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        const int column = static_cast<int>(i) / rows;
        const int row = static_cast<int>(i) % rows;
        m_buttons[i]->setGeometry(8 + column * columnWidth, top + row * rowHeight, columnWidth - 4,
                                  rowHeight);
    }
}

void TRadioGroup::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}

TSpinEdit::TSpinEdit(QWidget *parent) : QSpinBox(parent)
{
    // A text that is no number is corrected to the bound nearest 0 (0 itself
    // with the usual bounds), not back to the value shown before it.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int v = text().trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

void TSpinEdit::stepBy(int steps)
{
    bool ok = false;
    (void)text().trimmed().toInt(&ok, 10);
    if (!ok)
        setValue(0);
    QSpinBox::stepBy(steps);
}

TFileDialog::TFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &filter)
    : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    // The descriptions already name their patterns; do not show them twice.
    setOption(QFileDialog::HideNameFilterDetails, true);
    setAcceptMode(mode);
    // Any typed name is taken, also in the open dialog: a name that does not
    // exist comes back to the caller, whose open then fails with its message.
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(QtFilter(filter));
    setSizeGripEnabled(true);
    setModal(true);
}

QString TFileDialog::QtFilter(const QString &classicFilter)
{
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Patterns separated by ';' become Qt's blank-separated list; "*.*"
        // means every file, also those without a dot.
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' '))));
    }
    return filters.join(QStringLiteral(";;"));
}

QString TFileDialog::FileName() const
{
    if (!m_chosen.isEmpty())
        return m_chosen;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void TFileDialog::accept()
{
    m_chosen.clear();
    if (acceptMode() == QFileDialog::AcceptOpen && m_defaultExt.startsWith(QLatin1String("*."))) {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo typed(files.first());
            const QString withExt = files.first() + m_defaultExt.mid(1);
            if (!typed.exists() && typed.suffix().isEmpty() && QFileInfo::exists(withExt)) {
                m_chosen = withExt;
                QDialog::accept();
                return;
            }
        }
    }
    QFileDialog::accept();
}

QLineEdit *TFileDialog::NameEdit() const
{
    return findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

void TFileDialog::done(int result)
{
    // The name field's completion list is a window of its own. It can still
    // be open when the dialog closes, and it also reopens by itself once the
    // folder of the accepted name has been read, over a window the dialog no
    // longer covers, where it would swallow the user's next click. So the
    // completer goes with the dialog and comes back when it shows again.
    if (QLineEdit *edit = NameEdit(); edit && edit->completer()) {
        m_nameCompleter = edit->completer();
        if (QAbstractItemView *list = m_nameCompleter->popup())
            list->hide();
        edit->setCompleter(nullptr);
    }
    QFileDialog::done(result);
}

void TFileDialog::showEvent(QShowEvent *event)
{
    if (QLineEdit *edit = NameEdit(); edit && m_nameCompleter && !edit->completer())
        edit->setCompleter(m_nameCompleter);
    QFileDialog::showEvent(event);
}

} // namespace kov
