#pragma once

#include <QTest>
#include <QWidget>

// What Windows shows in the title bar of a fixed-size dialog: the caption, and the close box only
// when the dialog has a system menu; never minimise, maximise or help. These flags are what a
// window manager is told (the Motif hints on X11); the fixed size rules out maximising.
inline void verifyTitleButtons(const QWidget &dialog, bool closeBox)
{
    const Qt::WindowFlags flags = dialog.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));  // only the hints below, no defaults added
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                                | Qt::WindowContextHelpButtonHint));
    QCOMPARE(flags.testFlag(Qt::WindowCloseButtonHint), closeBox);
    QCOMPARE(flags.testFlag(Qt::WindowSystemMenuHint), closeBox);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}
