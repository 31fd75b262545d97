#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <array>

// The program's pictures of 16 by 16 pixels with transparency, taken by index by the tool bars
// and actions of the windows. They are drawn on first use, so that holding the list needs no
// window system.
class ImageList
{
public:
    static constexpr int Count = 27;
    static constexpr int Width = 16;
    static constexpr int Height = 16;

    // What the pictures in use show.
    enum Picture
    {
        OpenDoor = 0,
        Globe = 1,
        PieChart = 3,
        BarChart = 7,
        SheetWithMagnifier = 9,
        HandWritingOnSheet = 13,
        Printer = 26
    };

    int count() const { return Count; }
    QSize imageSize() const { return {Width, Height}; }

    // A null image for an index outside the list.
    QImage image(int index) const;
    // These need the application's window system.
    QPixmap pixmap(int index) const;
    QIcon icon(int index) const;

private:
    void drawAll() const;

    mutable std::array<QImage, Count> m_images;
    mutable bool m_drawn = false;
};
