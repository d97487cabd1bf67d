#pragma once

#include <QImage>
#include <QPainter>

#include <mutex>

namespace controls {

// A picture drawn once per run, by the first thread that asks for it; a thread that asks while
// another draws it waits for that drawing. Painters need the application to exist.
class DrawnOnce {
public:
    template <typename Draw>
    const QImage &image(Draw draw)
    {
        std::call_once(m_once, [this, &draw] { m_image = draw(); });
        return m_image;
    }

private:
    std::once_flag m_once;
    QImage m_image;
};

// A square picture of `size` pixels on a transparent ground, painted by `paint`.
inline QImage paintedImage(int size, void (*paint)(QPainter &), QPainter::RenderHints hints = {})
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(hints);
    paint(painter);
    return image;
}

}  // namespace controls
