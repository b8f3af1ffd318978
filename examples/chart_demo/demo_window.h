#pragma once

#include <QMainWindow>

class QAction;
class QComboBox;
class QToolBar;

// The demo's window: one chart of the demo scenes below a tool bar that
// chooses the scene, undoes a zoom and adds a series from the gallery.
namespace kov {

class TChart;

class DemoWindow : public QMainWindow
{
public:
    DemoWindow();

    /// The chart of the scene shown; a new one for every scene.
    TChart *Chart() const { return m_chart; }
    QToolBar *ToolBar() const { return m_toolBar; }
    /// Opens the series gallery and adds the chosen type to the chart.
    QAction *AddSeriesAction() const { return m_addSeries; }

    /// Shows the named scene on a fresh chart.
    void ShowScene(const QString &name);
    /// Runs the series gallery, its 3D box starting at the chart's view. On
    /// OK the chosen series joins the chart, and the chart takes the box's
    /// view, so that it shows the series as the chosen picture did.
    void AddFromGallery();

private:
    QToolBar *m_toolBar = nullptr;
    QComboBox *m_scenes = nullptr;
    QAction *m_addSeries = nullptr;
    TChart *m_chart = nullptr;
};

} // namespace kov
