#include "app/HeadlessCli.h"

#include "app/JsonText.h"

#include "app/AppDataDir.h"
#include "app/VxprExport.h"
#include "geometry/DModelOperator.h"
#include "geometry/DScene.h"
#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "geometry/OutputTarget.h"
#include "geometry/PlatformSize.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/PartImport.h"
#include "slicing/DlpSliceManager.h"
#include "slicing/VxprInfo.h"
#include "supports/SupportJob.h"
#include "supports/SupportProfiles.h"

#include "app/CliPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace
{

const char *const kUsage =
    "Usage: Resinor [--platform X,Y,Z] [FILE]\n"
    "       Resinor VERB [OPTIONS] FILE...\n"
    "\n"
    "Without a verb the main window opens; FILE may be a part (.stl, .obj) or a project\n"
    "(.vxpj, .orvane) to open. The verbs take parts (.stl, .obj, .slc) and projects (.vxpj,\n"
    ".orvane); a project's supports are generated again from its stored points.\n"
    "\n"
    "Verbs (they run without a window):\n"
    "  --help                 show this text\n"
    "  --info FILE...         import the files as the program does and print one JSON line\n"
    "                         per model: name, counts, placed bounds, size, volume, in_bounds;\n"
    "                         for a .vxpr work package, its header as one JSON line\n"
    "  --save-project OUT FILE...\n"
    "                         import the files and save the scene as the project OUT (.vxpj)\n"
    "  --export-vxpr OUT FILE...\n"
    "                         import the files, slice the scene and write the work package OUT\n"
    "                         (with preview pictures when an X display is available); OUT may\n"
    "                         be - for standard output; an empty job is refused\n"
    "  --snapshots DIR FILE...\n"
    "                         import the files and write the front, top and left preview\n"
    "                         pictures into DIR (front.dat, top.dat, left.dat and PNGs);\n"
    "                         needs an X display for OpenGL\n"
    "  --maintain IP OPERATION [FILE|DIR]\n"
    "                         maintain a printer's controller over SSH (calibration,\n"
    "                         light-power, material, reset-calibration, system-config,\n"
    "                         core-dump); Resinor --maintain --help explains it\n"
    "  --check-update [--update-url URL]\n"
    "                         ask the update service for a newer Resinor and print one JSON\n"
    "                         object (exit 0 when the service answered, 1 when the check\n"
    "                         failed); the address also comes from RESINOR_UPDATE_URL or the\n"
    "                         setting update/serviceUrl\n"
    "  --printers [--wait SECONDS]\n"
    "                         find the printers on the network and print one JSON line each\n"
    "  --send FILE --printer IP [--printer IP...] [--print]\n"
    "                         take the printers and send them the package FILE (a part or\n"
    "                         project is sliced first); --print starts the print\n"
    "  --control IP pause|stop|take|release\n"
    "                         pause or continue, stop, take or release a printer\n"
    "  --board-firmware IP FILE [--query-interval SECONDS]\n"
    "                         upgrade a printer's control board with the firmware FILE\n"
    "\n"
    "Options:\n"
    "  --discovery-target ADDR\n"
    "                         where the printer question goes (default 255.255.255.255; also\n"
    "                         RESINOR_DISCOVERY_TARGET or the setting network/discoveryTarget),\n"
    "                         for the window too\n"
    "  --platform X,Y,Z       build platform in millimetres (default 96,54,160)\n"
    "  --update-url URL       the update service of this run (also for the window)\n"
    "  --layer-thickness MM   layer thickness of --export-vxpr (default 0.05; whole\n"
    "                         micrometres from 0.001 to 10)\n"
    "  --supports PROFILE     generate supports for every mesh model with the support profile\n"
    "                         PROFILE (a profile name such as medium, fine-b for method B,\n"
    "                         or a path to an .ini);\n"
    "                         --info then also prints overhangs and support_parts\n"
    "  --scale F | X,Y,Z      scale every imported model by F (or per axis) about its centre,\n"
    "                         then set it on the platform; factors > 0\n"
    "  --rotate X,Y,Z         turn every imported model by X, then Y, then Z degrees about\n"
    "                         the fixed axes through its centroid, then set it on the platform\n"
    "  --copies N             make the scene N times: N - 1 copies of every model, laid out\n"
    "                         beside it (N >= 1)\n"
    "  --layout               automatic layout of all models on the platform\n"
    "  --interval MM          gap between the models of --copies and --layout in whole\n"
    "                         millimetres (default 2)\n"
    "                         Transforms apply after import, before layout and supports, in\n"
    "                         the order scale, rotate, copies, layout; numbers use \".\".\n"
    "  --force                write OUT even when it is one of the inputs or its suffix does\n"
    "                         not match the verb (.vxpr, .vxpj)\n"
    "  --verbose              also print the diagnostic messages\n"
    "  --                     ends the options: every later argument is a file\n"
    "\n"
    "Long jobs list their stages on stderr; Ctrl+C stops them and writes nothing.\n"
    "Exit status: 0 done, 1 an input could not be read, an output not written or the job is\n"
    "empty, 2 a usage error, 130 interrupted.\n";

// Minimal JSON text building; the field order of a line is the order of the calls.
class JsonLine
{
  public:
    JsonLine &add(const char *key, const QString &value) { return raw(key, quoted(value)); }
    JsonLine &add(const char *key, qulonglong value) { return raw(key, QString::number(value)); }
    JsonLine &add(const char *key, double value) { return raw(key, number(value)); }
    JsonLine &add(const char *key, bool value)
    {
        return raw(key, value ? QStringLiteral("true") : QStringLiteral("false"));
    }
    JsonLine &add(const char *key, const float (&v)[3])
    {
        return raw(key, QLatin1Char('[') + number(v[0]) + QStringLiteral(", ") + number(v[1]) +
                            QStringLiteral(", ") + number(v[2]) + QLatin1Char(']'));
    }
    QString text() const { return QLatin1Char('{') + m_text + QLatin1Char('}'); }

    static QString quoted(const QString &s) { return jsonQuoted(s); }

  private:
    // Shortest text that reads back as the same float; non-finite values become null.
    static QString number(double v)
    {
        if (!std::isfinite(v))
            return QStringLiteral("null");
        if (v == 0.0)
            return QStringLiteral("0");
        return QString::number(v, 'g', 7);
    }
    JsonLine &raw(const char *key, const QString &value)
    {
        if (!m_text.isEmpty())
            m_text += QStringLiteral(", ");
        m_text += quoted(QString::fromLatin1(key)) + QStringLiteral(": ") + value;
        return *this;
    }

    QString m_text;
};

struct CliArgs {
    QString verb;
    QString output;
    QStringList files;
    PlatformSize platform;
    QString layerThickness = QStringLiteral("0.05");
    QString supportProfile;
    // Transforms applied after import: factors (1 = unchanged), degrees about x, y, z, the
    // number of times the scene is there, automatic layout, the gap in millimetres.
    double scale[3] = {1.0, 1.0, 1.0};
    double rotate[3] = {0.0, 0.0, 0.0};
    int copies = 1;
    bool layout = false;
    int interval = 2;
    bool force = false;
    bool verbose = false;
    // Root of the run's progress: stages on stderr, cancelled by Ctrl+C. Not an argument.
    IProgressable *progress = nullptr;
};

bool isPackage(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("vxpr"), Qt::CaseInsensitive) == 0;
}

const char *const kVerbs[] = {"--help", "--info", "--export-vxpr", "--snapshots", "--save-project"};

bool isVerb(const QString &arg)
{
    for (const char *verb : kVerbs)
        if (arg == QLatin1String(verb))
            return true;
    return false;
}

bool takesOutput(const QString &verb)
{
    return verb == QLatin1String("--export-vxpr") || verb == QLatin1String("--snapshots") ||
           verb == QLatin1String("--save-project");
}

// Options of ours that take a value.
bool takesValue(const QString &option)
{
    return option == QLatin1String("--platform") || option == QLatin1String("--layer-thickness") ||
           option == QLatin1String("--supports") || option == QLatin1String("--scale") ||
           option == QLatin1String("--rotate") || option == QLatin1String("--copies") ||
           option == QLatin1String("--interval");
}

// What a transform option needs, for its usage messages.
QString transformUsage(const QString &option)
{
    if (option == QLatin1String("--scale"))
        return QStringLiteral("--scale needs a factor F or X,Y,Z greater than 0, e.g. 2 or 1,1,2");
    if (option == QLatin1String("--rotate"))
        return QStringLiteral("--rotate needs X,Y,Z in degrees, e.g. 90,0,0");
    if (option == QLatin1String("--copies"))
        return QStringLiteral("--copies needs a whole number of 1 or more, e.g. 3");
    return QStringLiteral("--interval needs a gap in whole millimetres of 0 or more, e.g. 2");
}

// Reads "A" or "A,B,C" (as allowed by `count`: 1, 3, or 13 for either) as finite numbers,
// always with "." as the decimal point. One number fills all three values.
bool parseNumbers(const QString &text, int count, double out[3])
{
    const QStringList parts = text.split(QLatin1Char(','));
    const bool one = parts.size() == 1 && (count == 1 || count == 13);
    const bool three = parts.size() == 3 && (count == 3 || count == 13);
    if (!one && !three)
        return false;
    double values[3];
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        // QString::toDouble reads the C locale whatever the user's locale is.
        values[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = values[one ? 0 : i];
    return true;
}

// Reads a whole number within [min, 100000].
bool parseWhole(const QString &text, int min, int *out)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < min || value > 100000)
        return false;
    *out = value;
    return true;
}

// Parses the value of a transform option into `out`; false when it is not acceptable.
bool parseTransform(const QString &option, const QString &value, CliArgs *out)
{
    if (option == QLatin1String("--scale")) {
        double f[3];
        if (!parseNumbers(value, 13, f))
            return false;
        for (double v : f)
            if (!(v > 0.0) || v > 1.0e4)
                return false;
        std::copy(f, f + 3, out->scale);
        return true;
    }
    if (option == QLatin1String("--rotate")) {
        double d[3];
        if (!parseNumbers(value, 3, d))
            return false;
        for (double v : d)
            if (std::fabs(v) > 1.0e6)
                return false;
        std::copy(d, d + 3, out->rotate);
        return true;
    }
    if (option == QLatin1String("--copies"))
        return parseWhole(value, 1, &out->copies);
    return parseWhole(value, 0, &out->interval);
}

const QLatin1String kEndOfOptions("--");

// Parses the arguments: the verb may stand anywhere before "--" (after options or files), its
// output right after it; options take their value from the next argument; "--" ends the
// options, so every later argument is a file. Returns false with a message on a usage error.
bool parseArgs(const QStringList &args, CliArgs *out, QString *error)
{
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1String("--"))) {
            out->files << a;
            continue;
        }
        if (a == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (isVerb(a)) {
            if (!out->verb.isEmpty()) {
                *error = QStringLiteral("only one verb at a time: %1 and %2").arg(out->verb, a);
                return false;
            }
            out->verb = a;
            if (!takesOutput(a))
                continue;
            if (i + 1 >= args.size() ||
                (args[i + 1].startsWith(QLatin1String("--")) && args[i + 1] != kEndOfOptions)) {
                *error = QStringLiteral("%1 needs the output %2 first")
                             .arg(a, a == QLatin1String("--snapshots") ? QStringLiteral("folder")
                                                                       : QStringLiteral("file"));
                return false;
            }
            // "--export-vxpr -- -odd-name.vxpr" names an output that starts with a dash.
            if (args[i + 1] == kEndOfOptions) {
                if (i + 2 >= args.size()) {
                    *error = QStringLiteral("%1 needs the output file first").arg(a);
                    return false;
                }
                out->output = args[i + 2];
                optionsEnded = true;
                i += 2;
            } else {
                out->output = args[++i];
            }
            continue;
        }
        if (a == QLatin1String("--force")) {
            out->force = true;
        } else if (a == QLatin1String("--verbose")) {
            out->verbose = true;
        } else if (a == QLatin1String("--layout")) {
            out->layout = true;
        } else if (a == QLatin1String("--scale") || a == QLatin1String("--rotate") ||
                   a == QLatin1String("--copies") || a == QLatin1String("--interval")) {
            if (i + 1 >= args.size() || !parseTransform(a, args[i + 1], out)) {
                *error = i + 1 < args.size()
                             ? QStringLiteral("%1 (not %2)").arg(transformUsage(a), args[i + 1])
                             : transformUsage(a);
                return false;
            }
            ++i;
        } else if (takesValue(a) && i + 1 >= args.size()) {
            *error = a == QLatin1String("--platform")
                         ? QStringLiteral("--platform needs X,Y,Z in millimetres, e.g. 96,54,160")
                     : a == QLatin1String("--supports")
                         ? QStringLiteral("--supports needs a profile name or path")
                         : QStringLiteral("--layer-thickness needs a thickness in millimetres, "
                                          "e.g. 0.05");
            return false;
        } else if (a == QLatin1String("--platform")) {
            if (!parsePlatformSize(args[i + 1], &out->platform)) {
                *error = QStringLiteral("--platform needs X,Y,Z in millimetres, e.g. 96,54,160");
                return false;
            }
            ++i;
        } else if (a == QLatin1String("--layer-thickness")) {
            QString reason;
            if (!checkLayerThickness(args[i + 1], &reason)) {
                *error = QStringLiteral("--layer-thickness needs a thickness in millimetres, "
                                        "e.g. 0.05: %1")
                             .arg(reason);
                return false;
            }
            out->layerThickness = args[++i].trimmed();
        } else if (a == QLatin1String("--supports")) {
            out->supportProfile = args[++i];
        } else {
            // Before any verb an unknown word is most likely a misspelt verb.
            *error = out->verb.isEmpty() ? QStringLiteral("unknown verb %1 (see --help)").arg(a)
                                         : QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    return true;
}

// Loads the profile named on the command line: a path, or a name in the user's profile folder or
// in the profiles shipped beside the program.
bool loadProfile(const QString &nameOrPath, SupportParameters *params, QString *error)
{
    const QString userDir =
        QDir(appDataDir()).filePath(QStringLiteral("Orvane/Resinor/Orvane Cfgs"));
    const QString shippedDir =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Orvane Cfgs"));
    QString path = resolveSupportProfile(nameOrPath, userDir);
    if (path.isEmpty())
        path = resolveSupportProfile(nameOrPath, shippedDir);
    if (path.isEmpty()) {
        *error = QStringLiteral("no support profile %1 (looked in %2 and %3)")
                     .arg(nameOrPath, QDir::toNativeSeparators(userDir),
                          QDir::toNativeSeparators(shippedDir));
        return false;
    }
    if (!loadSupportProfile(path, params, error)) {
        *error = QStringLiteral("support profile %1: %2").arg(path, *error);
        return false;
    }
    return true;
}

// One model of the scene a verb works on, with the file it came from.
struct SceneItem {
    QString file;
    std::shared_ptr<Model> model;
    int overhangs = 0;
    int supportParts = 0;
};

// The scene built from the command line's inputs, in the order the program would add them: the
// part files as one load, then each project beside what is already there.
struct HeadlessScene {
    std::vector<SceneItem> items;
    ImportFailures failures;
    QString supportError; // why supports could not be made; the verb fails when set
    // The error is a project's supports that could not be generated again: its models are
    // there and may still be reported.
    bool projectSupportsRefused = false;

    ModelList models() const
    {
        ModelList list;
        for (const SceneItem &item : items)
            list.push_back(item.model);
        return list;
    }
};

// Turn by `degrees` about the axis `axis` (0 x, 1 y, 2 z) through the origin. Quarter turns
// are exact, so a turned box keeps its exact extents.
Matrix4f axisRotation(int axis, double degrees)
{
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    double c = std::cos(radians);
    double s = std::sin(radians);
    if (std::fmod(degrees, 90.0) == 0.0) {
        c = std::round(c);
        s = std::round(s);
    }
    Matrix4f m = identityMatrix();
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    m[4 * a + a] = float(c);
    m[4 * b + a] = float(-s);
    m[4 * a + b] = float(s);
    m[4 * b + b] = float(c);
    return m;
}

// Scales and turns the models as the command line asks: scale about each model's centre at
// the height of its lowest point, as the scale panel does, turn about its centroid; then each
// model's lowest point is put back where it was (on the platform, or at the support height of
// a project's model). Supports made before would not fit any more, so this runs before they
// are made. Returns false when there was nothing to do.
bool scaleAndRotate(const CliArgs &args, const ModelList &models)
{
    const bool scales = args.scale[0] != 1.0 || args.scale[1] != 1.0 || args.scale[2] != 1.0;
    const bool turns = args.rotate[0] != 0.0 || args.rotate[1] != 0.0 || args.rotate[2] != 0.0;
    if (!scales && !turns)
        return false;
    const Matrix4f turn =
        multiply(axisRotation(2, args.rotate[2]),
                 multiply(axisRotation(1, args.rotate[1]), axisRotation(0, args.rotate[0])));
    const Matrix4f factors =
        scaleMatrix(float(args.scale[0]), float(args.scale[1]), float(args.scale[2]));
    for (const auto &model : models) {
        model->recomputeBounds();
        const float lowest = model->boundingBox().min.z;
        if (scales) {
            model->computeCentroid();
            const Point3f c{model->centroid().x, model->centroid().y, lowest};
            model->setLayoutRotated(false);
            model->transform(multiply(translationMatrix(c.x, c.y, c.z),
                                      multiply(factors, translationMatrix(-c.x, -c.y, -c.z))));
            model->recomputeBounds();
        }
        if (turns) {
            model->computeCentroid();
            const Point3f c = model->centroid();
            model->transform(multiply(translationMatrix(c.x, c.y, c.z),
                                      multiply(turn, translationMatrix(-c.x, -c.y, -c.z))));
            model->recomputeBounds();
        }
        const float dz = lowest - model->boundingBox().min.z;
        if (dz != 0.0f) {
            model->transform(translationMatrix(0.0f, 0.0f, dz));
            model->recomputeBounds();
        }
        model->computeCentroid();
    }
    return true;
}

// --copies and --layout on the loaded scene: the copies of every model are numbered after the
// highest copy number of its name, laid out among themselves and placed beside the scene, as
// the copy button does; then the automatic layout of everything.
void copyAndLayout(const CliArgs &args, HeadlessScene *scene)
{
    DModelOperator op(args.platform);
    if (args.copies > 1 && !scene->items.empty()) {
        std::map<QString, std::uint32_t> highest;
        for (const SceneItem &item : scene->items)
            highest[item.model->baseName()] =
                std::max(highest[item.model->baseName()], item.model->copyNumber());
        ModelList copies;
        std::vector<SceneItem> added;
        for (const SceneItem &item : scene->items) {
            for (int i = 1; i < args.copies; ++i) {
                SceneItem copy = item;
                copy.model = item.model->deepCopy();
                copy.model->copyNumber() = ++highest[item.model->baseName()];
                copies.push_back(copy.model);
                added.push_back(copy);
            }
        }
        op.layout(copies, args.interval);
        op.placeBeside(scene->models(), copies);
        scene->items.insert(scene->items.end(), added.begin(), added.end());
    }
    if (args.layout && !scene->items.empty())
        op.layout(scene->models(), args.interval);
}

// Parts: read, drop, lay out and place as one load, then (with --supports) what the support
// generate job does for each mesh model: lift it to the support height unless the profile says
// it has supports, detect overhangs, generate. Projects: read, supports generated again from
// their stored points and parameters, placed beside the scene; their models keep their stored
// supports settings, so --supports does not apply to them.
HeadlessScene loadScene(const CliArgs &args, const QStringList &files)
{
    HeadlessScene scene;
    QStringList parts;
    QStringList projects;
    for (const QString &file : files)
        (Vxpj::isProjectPath(file) ? projects : parts) << file;

    if (!parts.isEmpty()) {
        const ImportResult imported = importPartsHeadless(parts, args.platform, args.progress);
        scene.failures = imported.failures;
        // Models come back in file order, without the files that failed.
        QStringList failed;
        for (const ImportFailure &f : imported.failures)
            failed << f.path;
        auto model = imported.models.begin();
        for (const QString &file : parts) {
            if (failed.contains(file) || model == imported.models.end())
                continue;
            scene.items.push_back({file, *model++});
        }
        // The changed parts are arranged again as one load arranges them.
        if (scaleAndRotate(args, scene.models())) {
            DModelOperator op(args.platform);
            arrangeNewModels(op, scene.models());
            op.placeBeside({}, scene.models());
        }
    }
    if (!args.supportProfile.isEmpty()) {
        // A missing or broken profile is an error even when no part needs it (all inputs are
        // projects, which keep their own settings).
        SupportParameters params;
        if (!loadProfile(args.supportProfile, &params, &scene.supportError))
            return scene;
        for (SceneItem &item : scene.items) {
            if (item.model->sourceKind() != SourceKind::Mesh)
                continue;
            const SupportJobResult result =
                generateSupportsForModel(*item.model, params, args.progress);
            if (!result.ok) {
                scene.supportError =
                    QStringLiteral("supports for %1: %2").arg(item.model->name(), result.error);
                return scene;
            }
            item.overhangs = result.overhangs;
            item.supportParts = result.supportParts;
        }
    }

    DModelOperator op(args.platform);
    for (const QString &file : projects) {
        try {
            const std::vector<std::shared_ptr<Model>> read = Vxpj::loadProject(file, args.progress);
            ModelList loaded(read.begin(), read.end());
            scaleAndRotate(args, loaded);
            std::vector<SceneItem> added;
            for (const auto &model : loaded) {
                SceneItem item{file, model};
                if (!model->overhangs().empty()) {
                    const SupportJobResult result =
                        regenerateSupportsForModel(*model, args.progress);
                    // The model keeps its geometry and points (a method-B project, say); only
                    // the supports are refused, and the verb fails with the reason.
                    if (!result.ok && scene.supportError.isEmpty()) {
                        scene.projectSupportsRefused = true;
                        scene.supportError =
                            QStringLiteral("%1: the supports of %2 could not be generated "
                                           "again: %3")
                                .arg(file, model->name(), result.error);
                    }
                    item.overhangs = int(model->overhangs().size());
                    item.supportParts = result.ok ? result.supportParts : 0;
                }
                added.push_back(item);
            }
            op.placeBeside(scene.models(), loaded);
            scene.items.insert(scene.items.end(), added.begin(), added.end());
        } catch (const DIoError &e) {
            scene.failures.append({file, e.message()});
        }
    }
    copyAndLayout(args, &scene);
    return scene;
}

// Reports what could not be loaded; true when everything was.
bool reportLoadProblems(const HeadlessScene &scene, const CliArgs &args, QTextStream &err)
{
    if (args.progress && args.progress->isCancelled())
        return false; // interrupted: reported once by the caller
    for (const ImportFailure &f : scene.failures)
        err << "Resinor: cannot read " << f.path << ": " << f.reason << '\n';
    if (!scene.supportError.isEmpty())
        err << "Resinor: " << scene.supportError << '\n';
    return scene.failures.isEmpty() && scene.supportError.isEmpty();
}

int runInfo(const CliArgs &args, QTextStream &out, QTextStream &err)
{
    if (args.files.isEmpty()) {
        err << "Resinor: --info needs at least one file\n";
        return 2;
    }
    QStringList inputs;
    bool packagesOk = true;
    for (const QString &file : args.files) {
        if (!isPackage(file)) {
            inputs << file;
            continue;
        }
        OrvaneDlp::VxprInfo info;
        QString error;
        if (OrvaneDlp::readVxprInfo(file, &info, &error)) {
            JsonLine line;
            line.add("file", file)
                .add("title", info.title)
                .add("version", qulonglong(info.version))
                .add("first_slice", double(info.firstSliceHeight))
                .add("last_slice", double(info.lastSliceHeight))
                .add("layer_thickness", double(info.layerThickness))
                .add("layers", qulonglong(info.layerCount))
                .add("volume_ml", double(info.volumeMl))
                .add("layer_records", qulonglong(info.layerRecords));
            out << line.text() << '\n';
        } else {
            err << "Resinor: cannot read " << file << ": " << error << '\n';
            packagesOk = false;
        }
    }
    if (inputs.isEmpty())
        return packagesOk ? 0 : 1;
    const HeadlessScene scene = loadScene(args, inputs);
    // A profile that cannot be used stops before anything is reported; supports that cannot be
    // generated again for a project are reported after its models.
    if (!scene.supportError.isEmpty() && !scene.projectSupportsRefused) {
        reportLoadProblems(scene, args, err);
        return 1;
    }
    const bool withSupports = !args.supportProfile.isEmpty() ||
                              std::any_of(scene.items.begin(), scene.items.end(),
                                          [](const SceneItem &i) { return i.overhangs > 0; });
    for (const SceneItem &item : scene.items) {
        const Model &model = *item.model;
        const Box3f &box = model.boundingBox();
        const float mn[3] = {box.min.x, box.min.y, box.min.z};
        const float mx[3] = {box.max.x, box.max.y, box.max.z};
        const float size[3] = {mx[0] - mn[0], mx[1] - mn[1], mx[2] - mn[2]};
        JsonLine line;
        line.add("file", item.file)
            .add("name", model.name())
            .add("triangles", qulonglong(model.triangleCount()))
            .add("vertices", qulonglong(model.pointCount()))
            .add("min", mn)
            .add("max", mx)
            .add("size", size)
            .add("volume_ml", model.volumeMl())
            .add("in_bounds", !DModelOperator::isOutOfBounds(box, args.platform));
        if (withSupports)
            line.add("overhangs", qulonglong(item.overhangs))
                .add("support_parts", qulonglong(item.supportParts));
        out << line.text() << '\n';
    }
    return reportLoadProblems(scene, args, err) && packagesOk ? 0 : 1;
}

// What the user reads for a stage key of the jobs.
QString stageText(const QString &stage)
{
    static const struct {
        const char *key;
        const char *text;
    } texts[] = {{"ModalLoding", "Loading"},
                 {"SupportCalucate", "Supports calculating"},
                 {"ctlSupportGenaration", "Supports generating"},
                 {"ctlSupportBaseGenaration", "Support base generating"},
                 {"Load Points Datas", "Loading"},
                 {"Load Topo Datas", "Loading"},
                 {"Save Points Datas", "Saving"},
                 {"Save Topo Info", "Saving"},
                 {"Success Saved", "Saved"}};
    for (const auto &t : texts)
        if (stage == QLatin1String(t.key))
            return QLatin1String(t.text);
    return stage;
}

// The root progress of a run. On a terminal a bar on stderr; otherwise one line per stage as it
// starts, so logs and pipes see the long jobs move without a line per percent.
class CliProgress : public IProgressable
{
  public:
    CliProgress()
    {
        if (stderrIsTerminal()) {
            setCallback([this](int percent, const QString &stage, bool) {
                const int width = 40;
                const int filled = qBound(0, percent, 100) * width / 100;
                std::fprintf(stderr, "\r%-22s [%s%s] %3d%%", qPrintable(stageText(stage)),
                             QByteArray(filled, '#').constData(),
                             QByteArray(width - filled, ' ').constData(), percent);
                m_open = percent < 100;
                if (!m_open)
                    std::fputc('\n', stderr);
                std::fflush(stderr);
            });
        } else {
            setCallback([this](int, const QString &stage, bool) {
                const QString text = stageText(stage);
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (text.isEmpty() || m_stagesSeen.contains(text))
                    return;
                m_stagesSeen << text;
                std::fprintf(stderr, "Resinor: %s...\n", qPrintable(text));
                std::fflush(stderr);
            });
        }
    }
    // Ends an open progress bar line before other text goes to stderr.
    void endLine()
    {
        if (m_open)
            std::fputc('\n', stderr);
        m_open = false;
    }

  private:
    std::mutex m_mutex;
    QStringList m_stagesSeen;
    bool m_open = false;
};

int runExportVxpr(const CliArgs &args, const HeadlessServices &services, QTextStream &err)
{
    if (args.files.isEmpty()) {
        err << "Resinor: --export-vxpr needs at least one input file\n";
        return 2;
    }
    const HeadlessScene loaded = loadScene(args, args.files);
    if (!reportLoadProblems(loaded, args, err))
        return 1;
    const ModelList models = loaded.models();

    DScene scene;
    scene.addModels(models);
    VxprPreviewRenderer renderer;
    QString noRenderer;
    if (!services.renderPreviews)
        noRenderer = QStringLiteral("this build has no renderer");
    else if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        noRenderer = QStringLiteral("no X display for OpenGL");
    else
        renderer = [&](QByteArray *front, QByteArray *top, QByteArray *left, QString *error) {
            return services.renderPreviews(models, front, top, left, error);
        };
    const VxprExportPlan plan =
        prepareVxprExport(scene, args.platform, args.layerThickness, renderer);
    if (!plan.ok()) {
        err << "Resinor: cannot export " << args.output << ": " << plan.error << '\n';
        return 1;
    }
    if (!noRenderer.isEmpty())
        err << "Resinor: note: preview pictures are left empty (" << noRenderer << ")\n";
    else if (!plan.previewNote.isEmpty())
        err << "Resinor: note: preview pictures are left empty: " << plan.previewNote << '\n';
    for (const QString &name : plan.outsideModels)
        err << "Resinor: warning: " << name << " reaches beyond the platform\n";
    err.flush();

    QString error;
    if (!exportVxpr(args.output, plan, args.progress, &error)) {
        err << "Resinor: cannot write " << args.output << ": " << error << '\n';
        return 1;
    }
    return 0;
}

int runSnapshots(const CliArgs &args, const HeadlessServices &services, QTextStream &err)
{
    if (args.files.isEmpty()) {
        err << "Resinor: --snapshots needs at least one input file\n";
        return 2;
    }
    if (!services.writeSnapshots) {
        err << "Resinor: --snapshots is not available: this build has no renderer\n";
        return 1;
    }
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        err << "Resinor: --snapshots needs an X display for OpenGL (DISPLAY is not set); "
               "run it under X or xvfb-run\n";
        return 1;
    }
    const HeadlessScene loaded = loadScene(args, args.files);
    if (!reportLoadProblems(loaded, args, err))
        return 1;
    if (!QDir().mkpath(args.output)) {
        err << "Resinor: cannot create the folder " << args.output << '\n';
        return 1;
    }
    QString error;
    if (!services.writeSnapshots(loaded.models(), args.output, &error)) {
        err << "Resinor: cannot write the snapshots: " << error << '\n';
        return 1;
    }
    return 0;
}

int runSaveProject(const CliArgs &args, QTextStream &err)
{
    if (args.files.isEmpty()) {
        err << "Resinor: --save-project needs at least one input file\n";
        return 2;
    }
    const HeadlessScene loaded = loadScene(args, args.files);
    if (!reportLoadProblems(loaded, args, err))
        return 1;
    std::vector<std::shared_ptr<Model>> models;
    for (const SceneItem &item : loaded.items)
        models.push_back(item.model);
    try {
        Vxpj::saveProject(args.output, models);
    } catch (const DIoError &e) {
        err << "Resinor: cannot write " << args.output << ": " << e.message() << '\n';
        return 1;
    }
    return 0;
}

// OpenGL needs a display: the GL verbs get a GUI application object only where one can be had,
// since Qt ends the program when its platform cannot start.
bool displayUsable()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return platform.startsWith("offscreen") || platform.startsWith("minimal") ||
               !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return x11DisplayUsable();
#endif
}

// An output must not be one of the inputs (also through links), and its suffix must say what
// it will hold: a slip of the argument order would otherwise overwrite a mesh with a package.
// Standard output ("-") and targets that are not regular files (FIFOs, devices) take any name.
// --force lets the user write anyway. Returns false with the reason.
bool checkOutput(const CliArgs &cli, QString *error)
{
    const bool package = cli.verb == QLatin1String("--export-vxpr");
    if (!package && cli.verb != QLatin1String("--save-project"))
        return true;
    if (cli.force || cli.output == QLatin1String("-"))
        return true;
    for (const QString &input : cli.files) {
        if (sameFile(cli.output, input)) {
            *error = QStringLiteral("the output %1 is the input %2; refusing to overwrite it "
                                    "(give --force to write it anyway)")
                         .arg(cli.output, input);
            return false;
        }
    }
    const QLatin1String suffix = package ? QLatin1String("vxpr") : QLatin1String("vxpj");
    if (!isStreamTarget(cli.output) &&
        QFileInfo(cli.output).suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
        *error = QStringLiteral("the output %1 of %2 does not end in .%3 (give --force to write "
                                "it anyway)")
                     .arg(cli.output, cli.verb, suffix);
        return false;
    }
    return true;
}

// Options of ours that may stand in the window's command line.
bool isWindowOption(const QString &arg)
{
    return arg == QLatin1String("--platform");
}

} // namespace

QStringList commandLineArguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(QByteArray(argv[i]));
    return args;
}

bool isHeadlessCommandLine(const QStringList &args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == kEndOfOptions)
            return false;
        if (isVerb(a))
            return true;
        if (isWindowOption(a)) {
            ++i; // its value
            continue;
        }
        if (a.startsWith(QLatin1String("--")))
            return true; // an option the window does not take gets a usage error
    }
    return false;
}

QStringList windowArguments(const QStringList &args)
{
    QStringList platform;
    QStringList files;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!optionsEnded && a == kEndOfOptions) {
            optionsEnded = true;
        } else if (!optionsEnded && a == QLatin1String("--platform")) {
            platform = QStringList{a, args.value(i + 1)};
            ++i;
        } else if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            // Qt's own options ("-style fusion") are Qt's; their values are skipped too.
            if (QtArguments::takesValue(a))
                ++i;
        } else {
            files << a;
        }
    }
    return platform + files;
}

QtArguments::QtArguments(int argc, char **argv)
{
    if (argc > 0)
        m_storage.push_back(QByteArray(argv[0]));
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--")
            break;
        // Only single-dash options are Qt's: Qt would also read "--platform 96,54,160" as its
        // own "-platform" and abort over the unknown plugin.
        if (a.size() < 2 || a[0] != '-' || a[1] == '-')
            continue;
        m_storage.push_back(a);
        if (takesValue(QString::fromLatin1(a)) && i + 1 < argc)
            m_storage.push_back(QByteArray(argv[++i]));
    }
    for (QByteArray &a : m_storage)
        m_pointers.push_back(a.data());
    m_pointers.push_back(nullptr);
    m_argc = int(m_storage.size());
}

bool QtArguments::takesValue(const QString &option)
{
    static const char *const options[] = {
        "-platform",        "-platformpluginpath", "-platformtheme", "-plugin",   "-display",
        "-style",           "-stylesheet",         "-session",       "-geometry", "-title",
        "-qwindowgeometry", "-qwindowtitle",       "-qwindowicon",   "-name",     "-widgetcount",
        "-qmljsdebugger"};
    for (const char *o : options)
        if (option == QLatin1String(o))
            return o != QLatin1String("-widgetcount");
    return false;
}

int runHeadless(const QStringList &arguments, const HeadlessServices &services)
{
    CliArgs cli;
    QString error;
    if (!parseArgs(arguments, &cli, &error)) {
        std::fprintf(stderr, "Resinor: %s\n", qPrintable(error));
        return 2;
    }
    if (cli.verb == QLatin1String("--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (cli.verb.isEmpty()) {
        std::fprintf(stderr, "Resinor: no verb given\n\n%s", kUsage);
        return 2;
    }
    if (!checkOutput(cli, &error)) {
        std::fprintf(stderr, "Resinor: %s\n", qPrintable(error));
        return 2;
    }

    // Only the verbs that render get a GUI application object (no window is ever created), and
    // only where a display can be had. Qt sees no argument of ours.
    const bool wantsGl =
        cli.verb == QLatin1String("--snapshots") || cli.verb == QLatin1String("--export-vxpr");
    static int qtArgc = 1;
    static char programName[] = "Resinor";
    static char *qtArgv[] = {programName, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (wantsGl && displayUsable())
        app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    else
        app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The libraries' diagnostic chatter would bury the verbs' output; --verbose keeps it.
    if (!cli.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    CliProgress progress;
    cli.progress = &progress;
    installInterruptHandler(&progress);
    int status = 2;
    if (cli.verb == QLatin1String("--info"))
        status = runInfo(cli, out, err);
    else if (cli.verb == QLatin1String("--export-vxpr"))
        status = runExportVxpr(cli, services, err);
    else if (cli.verb == QLatin1String("--snapshots"))
        status = runSnapshots(cli, services, err);
    else if (cli.verb == QLatin1String("--save-project"))
        status = runSaveProject(cli, err);
    restoreInterrupt();
    out.flush();
    progress.endLine();
    if (interrupted() && status != 0) {
        err << "Resinor: interrupted; no output was written\n";
        err.flush();
        return 130;
    }
    return status;
}
