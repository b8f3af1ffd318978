#pragma once

#include "chart/kovchart_export.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QTabBar;

// The series gallery: every registered series type and function of one
// gallery page shown as a small chart of sample points, to be chosen by
// looking at it. The widget follows the platform's style, takes the keyboard
// focus and draws its pictures sharp on high-density screens.
namespace kov {

class TChartSeries;

/// The thumbnail of a registered type: a small chart of the type's sample
/// points (a function: its result over two sample sources, drawn against an
/// axis of its own), flat or in 3D, size logical pixels at the given device
/// pixel ratio. A null image for an unknown class name.
KOVCHART_EXPORT QImage GalleryBitmap(const QString &className, QSize size, bool view3D,
                                     qreal devicePixelRatio = 1.0);
/// The thumbnail of series, a ready series of any type (a function's with
/// its function attached), drawn as a registered type's is: its sample
/// points seeded by seedName as a registered type's are by its class name.
/// A null image for no series.
KOVCHART_EXPORT QImage GalleryBitmap(std::unique_ptr<TChartSeries> series, const QString &seedName,
                                     QSize size, bool view3D, qreal devicePixelRatio = 1.0);

/// The pictures of one gallery page in rows, each with its display name
/// below. A click or the arrow keys (Home, End) choose a picture; a double
/// click, Enter or Space picks it.
class KOVCHART_EXPORT TSeriesGallery : public QWidget
{
    Q_OBJECT

public:
    explicit TSeriesGallery(QWidget *parent = nullptr);
    ~TSeriesGallery() override;

    /// The gallery page shown; the registry's first page at creation.
    QString Page() const { return m_page; }
    /// Shows the entries of page (none for a page without entries); the
    /// first one becomes current.
    void SetPage(const QString &page);
    /// Whether the pictures show the 3D view.
    bool View3D() const { return m_view3D; }
    void SetView3D(bool value);

    /// Number of pictures on the page.
    int ItemCount() const { return static_cast<int>(m_classNames.size()); }
    /// The current picture's index, -1 on an empty page.
    int CurrentIndex() const { return m_current; }
    void SetCurrentIndex(int index);
    /// Class name of the current picture; empty on an empty page.
    QString CurrentClassName() const;
    /// Size of one cell: picture, spacing and a caption line.
    QSize CellSize() const;
    /// Where cell index lies in the widget.
    QRect ItemRect(int index) const;
    /// Where the picture of cell index is drawn in the widget.
    QRect PictureRect(int index) const;
    /// Picture index at pos, or -1.
    int ItemAt(const QPoint &pos) const;
    /// Reads the page's entries from the registry again.
    void Reload();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    /// Another picture became current.
    void CurrentChanged(const QString &className);
    /// A picture was picked (double click, Enter, Space).
    void Picked(const QString &className);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QSize PictureSize() const;
    int Columns(int width) const;
    /// Forgets every drawn picture (3D view, page, style or screen changed).
    void InvalidatePictures();
    const QImage &Picture(int index) const;

    QString m_page;
    bool m_view3D = false;
    int m_current = -1;
    std::vector<QString> m_classNames;
    std::vector<QString> m_captions;
    /// Pictures drawn so far, by index; a null image is not drawn yet.
    mutable std::vector<QImage> m_pictures;
};

/// A dialog around the gallery: a tab per gallery page, a "3D" check box and
/// the OK and Cancel buttons.
class KOVCHART_EXPORT TSeriesGalleryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TSeriesGalleryDialog(QWidget *parent = nullptr);

    TSeriesGallery *Gallery() const { return m_gallery; }
    QTabBar *PageTabs() const { return m_tabs; }
    QCheckBox *View3DBox() const { return m_view3D; }
    /// Class name of the chosen type (the current one once accepted).
    QString ChosenClassName() const { return m_gallery->CurrentClassName(); }

    /// Runs the dialog; the chosen class name, or empty when cancelled.
    static QString ChooseSeriesType(QWidget *parent);

private:
    TSeriesGallery *m_gallery = nullptr;
    QTabBar *m_tabs = nullptr;
    QCheckBox *m_view3D = nullptr;
};

} // namespace kov
