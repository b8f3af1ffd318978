#include "chart/gallery/series_gallery.h"

#include "chart/canvas/chart_canvas.h"
#include "chart/chart.h"
#include "chart/series/line_series.h"
#include "chart/series/series_registry.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <memory>

namespace kov {

namespace {

/// Room around a picture and between it and its caption, in logical pixels.
constexpr int Padding = 6;

/// Seeds of the sample points: a picture shows the same points on every run.
constexpr quint32 SampleSeed = 20261210;

/// The sample sources a function's picture is calculated from.
void AddSampleSources(TChart &chart, TChartSeries &result)
{
    const TColor colors[] = {clGray, clSilver};
    quint32 seed = SampleSeed;
    for (TColor color : colors) {
        auto source = std::make_unique<TLineSeries>();
        source->SetSeriesColor(color);
        source->SetSampleSeed(++seed);
        source->FillSamplePoints(source->SamplePointCount());
        result.AddDataSource(chart.AddSeries(std::move(source)));
    }
    // A result far from its sources (a product, a quotient) gets an axis of
    // its own; one near them is drawn against theirs, to be compared.
    double lo = std::numeric_limits<double>::max();
    double hi = std::numeric_limits<double>::lowest();
    for (TChartSeries *source : result.DataSources()) {
        lo = std::min(lo, source->SmallestY());
        hi = std::max(hi, source->LargestY());
    }
    const double span = hi - lo;
    if (result.SmallestY() < lo - span || result.LargestY() > hi + span)
        result.SetVertAxis(aRightAxis);
}

/// In 3D a line is a ribbon, outlined with its line pen (black by default):
/// in a picture this small the outline is all that shows. Outlined in its
/// own colour, each ribbon keeps its colour and can be told from the others.
void ColourRibbons(TChart &chart)
{
    for (TChartSeries *s : chart.SeriesList().Items()) {
        if (auto *line = dynamic_cast<TCustomSeries *>(s)) {
            line->LinePen().SetColor(DarkenColor(line->SeriesColor(), 40));
            line->LinePen().SetWidth(1);
        }
    }
}

} // namespace

QImage GalleryBitmap(const QString &className, QSize size, bool view3D, qreal devicePixelRatio)
{
    if (!TSeriesRegistry::Instance().Find(className) || size.isEmpty())
        return QImage();
    return GalleryBitmap(TSeriesRegistry::Instance().CreateSeries(className), className, size,
                         view3D, devicePixelRatio);
}

QImage GalleryBitmap(std::unique_ptr<TChartSeries> series, const QString &seedName, QSize size,
                     bool view3D, qreal devicePixelRatio)
{
    if (!series || size.isEmpty())
        return QImage();
    TChart chart;
    chart.resize(size);
    chart.SetView3D(view3D);
    chart.SetAxisVisible(false);
    chart.Title().SetVisible(false);
    chart.Legend().SetVisible(false);
    chart.SetColor(clWhite);
    chart.SetBevelOuter(bvNone);
    chart.SetBevelInner(bvNone);
    // Room above and below the data, and no clipping at the frame: a peak, a
    // marker or a bar's top face is drawn whole, not cut by the top edge.
    chart.SetMarginTop(10);
    chart.SetMarginBottom(8);
    chart.SetMarginLeft(5);
    chart.SetMarginRight(5);
    chart.SetClipPoints(false);

    TChartSeries *shown = series.get();
    shown->PrepareGalleryPreview(true);
    shown->Gallery3DChanged(view3D);
    // Seeded by the name too: each type shows points of its own.
    quint32 seed = SampleSeed;
    for (const QChar c : seedName)
        seed = seed * 31 + c.unicode();
    shown->SetSampleSeed(seed);
    if (shown->Function()) {
        if (auto *line = dynamic_cast<TCustomSeries *>(shown))
            line->LinePen().SetWidth(2);
        shown->SetSeriesColor(clRed);
        chart.AddSeries(std::move(series));
        AddSampleSources(chart, *shown);
    } else {
        shown->FillSamplePoints(shown->SamplePointCount());
        chart.AddSeries(std::move(series));
    }
    if (view3D)
        ColourRibbons(chart);

    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawToCanvas(&painter, TRect{0, 0, size.width(), size.height()});
    return image;
}

// ---- the gallery widget ------------------------------------------------------------

TSeriesGallery::TSeriesGallery(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    const QStringList pages = TSeriesRegistry::Instance().Pages();
    SetPage(pages.isEmpty() ? QString() : pages.front());
}

TSeriesGallery::~TSeriesGallery() = default;

void TSeriesGallery::SetPage(const QString &page)
{
    m_page = page;
    Reload();
}

void TSeriesGallery::Reload()
{
    m_classNames.clear();
    m_captions.clear();
    for (const TSeriesRegistration *entry : TSeriesRegistry::Instance().PageEntries(m_page)) {
        m_classNames.push_back(entry->ClassName);
        m_captions.push_back(entry->DisplayName);
    }
    InvalidatePictures();
    m_current = m_classNames.empty() ? -1 : 0;
    updateGeometry();
    emit CurrentChanged(CurrentClassName());
}

void TSeriesGallery::SetView3D(bool value)
{
    if (m_view3D == value)
        return;
    m_view3D = value;
    InvalidatePictures();
}

void TSeriesGallery::SetCurrentIndex(int index)
{
    if (index < -1 || index >= ItemCount() || index == m_current)
        return;
    m_current = index;
    update();
    emit CurrentChanged(CurrentClassName());
}

QString TSeriesGallery::CurrentClassName() const
{
    return m_current < 0 ? QString() : m_classNames[static_cast<size_t>(m_current)];
}

void TSeriesGallery::InvalidatePictures()
{
    m_pictures.assign(m_classNames.size(), QImage());
    update();
}

const QImage &TSeriesGallery::Picture(int index) const
{
    QImage &picture = m_pictures[static_cast<size_t>(index)];
    // Drawn at the screen's density: a move to another screen draws anew.
    if (picture.isNull() || picture.devicePixelRatio() != devicePixelRatioF())
        picture = GalleryBitmap(m_classNames[static_cast<size_t>(index)], PictureSize(), m_view3D,
                                devicePixelRatioF());
    return picture;
}

// ---- geometry ----------------------------------------------------------------------

QSize TSeriesGallery::PictureSize() const
{
    // Follows the font, so that a larger system font gives larger pictures.
    const int unit = fontMetrics().height();
    return QSize(8 * unit, 6 * unit);
}

QSize TSeriesGallery::CellSize() const
{
    const QSize picture = PictureSize();
    return QSize(picture.width() + 2 * Padding,
                 picture.height() + 3 * Padding + fontMetrics().height());
}

int TSeriesGallery::Columns(int width) const
{
    return std::max(1, width / CellSize().width());
}

QRect TSeriesGallery::PictureRect(int index) const
{
    const QRect cell = ItemRect(index);
    return cell.isNull() ? cell : QRect(cell.topLeft() + QPoint(Padding, Padding), PictureSize());
}

QRect TSeriesGallery::ItemRect(int index) const
{
    if (index < 0 || index >= ItemCount())
        return QRect();
    const QSize cell = CellSize();
    const int columns = Columns(width());
    return QRect(QPoint((index % columns) * cell.width(), (index / columns) * cell.height()), cell);
}

int TSeriesGallery::ItemAt(const QPoint &pos) const
{
    for (int i = 0; i < ItemCount(); ++i)
        if (ItemRect(i).contains(pos))
            return i;
    return -1;
}

int TSeriesGallery::heightForWidth(int width) const
{
    const int columns = Columns(width);
    const int rows = std::max(1, (ItemCount() + columns - 1) / columns);
    return rows * CellSize().height();
}

QSize TSeriesGallery::sizeHint() const
{
    const int width = 4 * CellSize().width();
    return QSize(width, heightForWidth(width));
}

QSize TSeriesGallery::minimumSizeHint() const
{
    return CellSize();
}

// ---- painting and input ---------------------------------------------------------------

void TSeriesGallery::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < ItemCount(); ++i) {
        const QRect cell = ItemRect(i);
        const bool current = i == m_current;
        QStyleOptionViewItem item;
        item.initFrom(this);
        item.rect = cell;
        item.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (current) {
            item.state |= QStyle::State_Selected;
            if (hasFocus())
                item.state |= QStyle::State_HasFocus;
        }
        item.showDecorationSelected = true;
        style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, &painter, this);

        const QRect pictureRect = PictureRect(i);
        painter.drawImage(pictureRect, Picture(i));
        const QRect caption(cell.left() + Padding, pictureRect.bottom() + 1 + Padding,
                            cell.width() - 2 * Padding, fontMetrics().height());
        const QString text = fontMetrics().elidedText(m_captions[static_cast<size_t>(i)],
                                                      Qt::ElideRight, caption.width());
        style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), text,
                              current ? QPalette::HighlightedText : QPalette::Text);

        if (current && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = cell.adjusted(2, 2, -2, -2);
            focus.backgroundColor = palette().color(QPalette::Highlight);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
}

void TSeriesGallery::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = ItemAt(event->position().toPoint());
        if (index >= 0)
            SetCurrentIndex(index);
    }
    QWidget::mousePressEvent(event);
}

void TSeriesGallery::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = ItemAt(event->position().toPoint());
        if (index >= 0) {
            SetCurrentIndex(index);
            emit Picked(CurrentClassName());
            return;
        }
    }
    QWidget::mouseDoubleClickEvent(event);
}

void TSeriesGallery::keyPressEvent(QKeyEvent *event)
{
    const int count = ItemCount();
    if (count == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int columns = Columns(width());
    const int current = std::max(0, m_current);
    int next = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        next = current - 1;
        break;
    case Qt::Key_Right:
        next = current + 1;
        break;
    case Qt::Key_Up:
        next = current - columns;
        break;
    case Qt::Key_Down:
        next = current + columns;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = count - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0) {
            emit Picked(CurrentClassName());
            return;
        }
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (next >= 0 && next < count)
        SetCurrentIndex(next);
}

void TSeriesGallery::changeEvent(QEvent *event)
{
    // Pictures and cells follow the font; the style and palette change how
    // everything around them is drawn.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        InvalidatePictures();
        updateGeometry();
    } else if (event->type() == QEvent::PaletteChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void TSeriesGallery::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void TSeriesGallery::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

// ---- the dialog ---------------------------------------------------------------------------

TSeriesGalleryDialog::TSeriesGalleryDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Series Gallery"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabBar(this);
    for (const QString &page : TSeriesRegistry::Instance().Pages())
        m_tabs->setTabData(m_tabs->addTab(page), page);
    layout->addWidget(m_tabs);
    m_gallery = new TSeriesGallery(this);
    layout->addWidget(m_gallery, 1);
    auto *row = new QHBoxLayout;
    m_view3D = new QCheckBox(QStringLiteral("&3D"), this);
    row->addWidget(m_view3D);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    row->addWidget(buttons, 1);
    layout->addLayout(row);

    connect(m_tabs, &QTabBar::currentChanged, this,
            [this](int index) { m_gallery->SetPage(m_tabs->tabData(index).toString()); });
    connect(m_view3D, &QCheckBox::toggled, m_gallery, &TSeriesGallery::SetView3D);
    connect(m_gallery, &TSeriesGallery::Picked, this, &QDialog::accept);
    connect(m_gallery, &TSeriesGallery::CurrentChanged, this, [buttons](const QString &name) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!name.isEmpty());
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_gallery->setFocus();
}

QString TSeriesGalleryDialog::ChooseSeriesType(QWidget *parent)
{
    TSeriesGalleryDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ChosenClassName() : QString();
}

} // namespace kov
