#include "ui_DataFixture.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <ui/SizePanel.h>

// The details panel at the bottom of a box, under a widget that takes the rest of the height.
class TestSizePanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void barIsSevenPixelsOnTop();
    void draggingShowsALineAndSizesOnRelease();
    void dragIsLimited_data();
    void dragIsLimited();
    void hotSpotClosesAndRestores();
    void panelWithoutLayoutKeepsItsBottomEdge();

private:
    QPoint barPoint() const { return QPoint(10, 3); } // on the bar, away from the hot spot

    std::unique_ptr<QWidget> m_box;
    ui::SizePanel* m_panel = nullptr;
    QLabel* m_content = nullptr;
};

void TestSizePanel::init()
{
    m_box = std::make_unique<QWidget>();
    m_box->resize(400, 400);
    auto* layout = new QVBoxLayout(m_box.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(QStringLiteral("grid above"), m_box.get()), 1);
    m_panel = new ui::SizePanel(m_box.get());
    m_panel->setObjectName(QStringLiteral("RzSizePanel1"));
    auto* inner = new QVBoxLayout(m_panel);
    inner->setContentsMargins(0, 0, 0, 0);
    m_content = new QLabel(QStringLiteral("details"), m_panel);
    inner->addWidget(m_content);
    layout->addWidget(m_panel);
    m_panel->setPanelHeight(136);
    m_panel->setHeightLimit(m_box->height() / 2);
    showActive(m_box.get());
    QTRY_COMPARE(m_panel->height(), 136);
}

void TestSizePanel::cleanup()
{
    m_box.reset();
}

void TestSizePanel::barIsSevenPixelsOnTop()
{
    QCOMPARE(m_panel->sizeBarWidth(), 7);
    QCOMPARE(m_panel->sizeBarRect(), QRect(0, 0, m_panel->width(), 7));
    QCOMPARE(m_content->geometry().top(), 7); // the content starts below the bar
    QVERIFY(m_panel->sizeBarRect().contains(m_panel->hotSpotRect()));
    QVERIFY(qAbs(m_panel->hotSpotRect().center().x() - m_panel->width() / 2) <= 1);
}

void TestSizePanel::draggingShowsALineAndSizesOnRelease()
{
    const int bottom = m_panel->geometry().bottom();
    QTest::mousePress(m_panel, Qt::LeftButton, {}, barPoint());
    QVERIFY(m_panel->isSizing());
    QTest::mouseMove(m_panel, barPoint() - QPoint(0, 40));

    // While the button is held only the line moves.
    auto* line = m_box->findChild<QWidget*>(QStringLiteral("sizingLine"));
    QVERIFY(line);
    QVERIFY(line->isVisible());
    QCOMPARE(line->y(), m_panel->y() - 40);
    QCOMPARE(m_panel->sizingEdge(), m_panel->y() - 40);
    QCOMPARE(m_panel->height(), 136);
    // The line shows the box under it inverted.
    const QImage drawn = line->grab(QRect(0, 0, 10, 1)).toImage().convertToFormat(QImage::Format_RGB32);
    line->hide();
    const QImage under =
        m_box->grab(QRect(0, line->y(), 10, 1)).toImage().convertToFormat(QImage::Format_RGB32);
    line->show();
    QColor expected(under.pixel(5, 0));
    expected.setRgb(255 - expected.red(), 255 - expected.green(), 255 - expected.blue());
    QCOMPARE(QColor(drawn.pixel(5, 0)), expected);

    QSignalSpy changed(m_panel, &ui::SizePanel::panelHeightChanged);
    QTest::mouseRelease(m_panel, Qt::LeftButton, {}, barPoint() - QPoint(0, 40));
    QVERIFY(!m_panel->isSizing());
    QVERIFY(!line->isVisible());
    QCOMPARE(m_panel->height(), 176);
    QCOMPARE(m_panel->geometry().bottom(), bottom);
    QCOMPARE(changed.count(), 1);
}

void TestSizePanel::dragIsLimited_data()
{
    QTest::addColumn<int>("moveBy");
    QTest::addColumn<int>("height");
    QTest::newRow("up beyond half the box") << -300 << 200;
    QTest::newRow("up to the limit exactly") << -64 << 200;
    QTest::newRow("down below the bar") << 500 << 7;
    QTest::newRow("down a little") << 36 << 100;
}

void TestSizePanel::dragIsLimited()
{
    QFETCH(int, moveBy);
    QFETCH(int, height);
    QTest::mousePress(m_panel, Qt::LeftButton, {}, barPoint());
    QTest::mouseMove(m_panel, barPoint() + QPoint(0, moveBy));
    QTest::mouseRelease(m_panel, Qt::LeftButton, {}, barPoint() + QPoint(0, moveBy));
    QTRY_COMPARE(m_panel->height(), height);
}

void TestSizePanel::hotSpotClosesAndRestores()
{
    const QPoint spot = m_panel->hotSpotRect().center();
    QSignalSpy closed(m_panel, &ui::SizePanel::closedChanged);
    QTest::mouseClick(m_panel, Qt::LeftButton, {}, spot);
    QVERIFY(m_panel->isClosed());
    QTRY_COMPARE(m_panel->height(), 7);
    QVERIFY(!m_panel->isSizing());

    QTest::mouseClick(m_panel, Qt::LeftButton, {}, m_panel->hotSpotRect().center());
    QVERIFY(!m_panel->isClosed());
    QTRY_COMPARE(m_panel->height(), 136);
    QCOMPARE(closed.count(), 2);

    // A press on the hot spot released elsewhere does nothing.
    QTest::mousePress(m_panel, Qt::LeftButton, {}, m_panel->hotSpotRect().center());
    QTest::mouseRelease(m_panel, Qt::LeftButton, {}, QPoint(5, 60));
    QVERIFY(!m_panel->isClosed());
    QCOMPARE(m_panel->height(), 136);
}

void TestSizePanel::panelWithoutLayoutKeepsItsBottomEdge()
{
    QWidget box;
    box.resize(300, 300);
    auto* panel = new ui::SizePanel(&box);
    panel->setGeometry(0, 200, 300, 100);
    panel->setHeightLimit(150);
    showActive(&box);
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 2));
    QTest::mouseMove(panel, QPoint(5, -98));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(5, -98));
    QCOMPARE(panel->geometry(), QRect(0, 150, 300, 150));
}

QTEST_MAIN(TestSizePanel)
#include "tst_sizepanel.moc"
