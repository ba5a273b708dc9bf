#pragma once
// The canvas every tool bar icon is drawn on: a transparent 24 x 24 picture
// with an antialiased black pen of 1.5 pixels.
#include <QIcon>
#include <functional>

class QPainter;

constexpr int kToolIconSize = 24;

// The icon the painter draws; a null icon when it draws nothing (returns false).
QIcon PaintToolIcon(const std::function<bool(QPainter&)>& paint);
