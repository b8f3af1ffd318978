// The start-up floor: a Qt 6 main window with a menu, a tool bar, two tabs and a text view, nothing
// else.
#include <QtWidgets>
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle("Zarnik");
    w.menuBar()->addMenu("Файл");
    auto *tb = w.addToolBar("t");
    tb->addAction(w.style()->standardIcon(QStyle::SP_DialogOpenButton), "open");
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, "График");
    tabs->addTab(new QPlainTextEdit, "Данные");
    w.setCentralWidget(tabs);
    w.setGeometry(242, 210, 966, 676);
    w.show();
    return app.exec();
}
