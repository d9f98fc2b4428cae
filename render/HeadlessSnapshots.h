#pragma once

#include <QList>
#include <QString>

#include <QByteArray>

#include <array>
#include <memory>

class Model;

namespace Orvane3Ds
{

// Renders the front, top and left preview pictures of the models into `dir`: front.dat,
// top.dat and left.dat (raw 256 x 256 RGB) plus front.png, top.png and left.png.
//
// Needs GL, hence a display: it uses the running QGuiApplication, or, when there is no
// application object at all, creates one for the call (only when DISPLAY is set). Returns false
// with a reason in *error when no display or GL context is available or a file cannot be
// written. The models are placed in a scene of their own for the duration.
bool writeSnapshots(const QList<std::shared_ptr<Model>> &models, const QString &dir,
                    QString *error);

// The same pictures as raw canvases (front, top, left; 196,608 bytes each), for callers that
// store them elsewhere (a work package). Same display and context rules as writeSnapshots().
bool renderSnapshots(const QList<std::shared_ptr<Model>> &models,
                     std::array<QByteArray, 3> *canvases, QString *error);

} // namespace Orvane3Ds
