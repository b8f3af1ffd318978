#include "app/chart_setup.h"

#include <QMenu>
#include <QWidget>

namespace kov {

QWidget *CreateChart1(QWidget *parent, QMenu *popupMenu, std::function<void()> onContextPopup)
{
    auto *chart = new QWidget(parent);
    chart->setObjectName(QStringLiteral("Chart1"));
    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(chart, &QWidget::customContextMenuRequested, popupMenu,
                     [chart, popupMenu, onContextPopup](const QPoint &pos) {
                         if (onContextPopup)
                             onContextPopup();
                         popupMenu->popup(chart->mapToGlobal(pos));
                     });
    return chart;
}

} // namespace kov
