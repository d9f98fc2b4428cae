#include "app/HeadlessCli.h"

#include "geometry/DScene.h"
#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "geometry/PlatformSize.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/PartImport.h"
#include "app/AppDataDir.h"
#include "slicing/DlpSliceManager.h"
#include "slicing/VxprInfo.h"
#include "supports/SupportJob.h"
#include "supports/SupportProfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <memory>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

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
    "                         (with preview pictures when an X display is available)\n"
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
    "\n"
    "Options:\n"
    "  --platform X,Y,Z       build platform in millimetres (default 96,54,160)\n"
    "  --update-url URL       the update service of this run (also for the window)\n"
    "  --layer-thickness MM   layer thickness of --export-vxpr (default 0.05)\n"
    "  --supports PROFILE     generate supports for every mesh model with the support profile\n"
    "                         PROFILE (a profile name such as medium, or a path to an .ini);\n"
    "                         --info then also prints overhangs and support_parts\n"
    "  --verbose              also print the diagnostic messages\n";

// Minimal JSON text building; the field order of a line is the order of the calls.
class JsonLine
{
public:
    JsonLine &add(const char *key, const QString &value)
    {
        return raw(key, quoted(value));
    }
    JsonLine &add(const char *key, qulonglong value)
    {
        return raw(key, QString::number(value));
    }
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

    static QString quoted(const QString &s)
    {
        QString out = QStringLiteral("\"");
        for (const QChar c : s) {
            switch (c.unicode()) {
            case '"': out += QStringLiteral("\\\""); break;
            case '\\': out += QStringLiteral("\\\\"); break;
            case '\n': out += QStringLiteral("\\n"); break;
            case '\r': out += QStringLiteral("\\r"); break;
            case '\t': out += QStringLiteral("\\t"); break;
            default:
                if (c.unicode() < 0x20)
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    out += c;
            }
        }
        return out + QLatin1Char('"');
    }

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

struct CliArgs
{
    QString verb;
    QString output;
    QStringList files;
    PlatformSize platform;
    QString layerThickness = QStringLiteral("0.05");
    QString supportProfile;
};

bool isPackage(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("vxpr"), Qt::CaseInsensitive) == 0;
}

// Parses "VERB [OPTIONS] FILE...". Returns false with a message on a usage error.
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

// Options may come before the verb ("--platform X,Y,Z --info FILE"): move the verb and its
// output argument to the front.
QStringList verbFirst(QStringList args)
{
    for (int i = 1; i < args.size(); ++i) {
        if (!isVerb(args[i]))
            continue;
        const int count = takesOutput(args[i]) && i + 1 < args.size() ? 2 : 1;
        const QStringList moved = args.mid(i, count);
        for (int k = 0; k < count; ++k)
            args.removeAt(i);
        return moved + args;
    }
    return args;
}

bool parseArgs(const QStringList &args, CliArgs *out, QString *error)
{
    out->verb = args.value(0);
    int first = 1;
    if (takesOutput(out->verb)) {
        if (args.size() < 2 || args[1].startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("%1 needs the output %2 first")
                         .arg(out->verb, out->verb == QLatin1String("--snapshots")
                                             ? QStringLiteral("folder")
                                             : QStringLiteral("file"));
            return false;
        }
        out->output = args[1];
        first = 2;
    }
    for (int i = first; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--platform")) {
            if (i + 1 >= args.size() || !parsePlatformSize(args[i + 1], &out->platform)) {
                *error = QStringLiteral("--platform needs X,Y,Z in millimetres, e.g. 96,54,160");
                return false;
            }
            ++i;
        } else if (a == QLatin1String("--layer-thickness")) {
            bool ok = false;
            const double mm = args.value(i + 1).toDouble(&ok);
            if (!ok || !(mm > 0.0) || mm > 10.0) {
                *error = QStringLiteral("--layer-thickness needs a thickness in millimetres, "
                                        "e.g. 0.05");
                return false;
            }
            out->layerThickness = args[++i];
        } else if (a == QLatin1String("--supports")) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("--supports needs a profile name or path");
                return false;
            }
            out->supportProfile = args[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            out->files << a;
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
struct SceneItem
{
    QString file;
    std::shared_ptr<Model> model;
    int overhangs = 0;
    int supportParts = 0;
};

// The scene built from the command line's inputs, in the order the program would add them: the
// part files as one load, then each project beside what is already there.
struct HeadlessScene
{
    std::vector<SceneItem> items;
    ImportFailures failures;
    QString supportError; // why supports could not be made; the verb fails when set

    ModelList models() const
    {
        ModelList list;
        for (const SceneItem &item : items)
            list.push_back(item.model);
        return list;
    }
};

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
        const ImportResult imported = importPartsHeadless(parts, args.platform);
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
    }
    if (!args.supportProfile.isEmpty() && !scene.items.empty()) {
        SupportParameters params;
        if (!loadProfile(args.supportProfile, &params, &scene.supportError))
            return scene;
        for (SceneItem &item : scene.items) {
            if (item.model->sourceKind() != SourceKind::Mesh)
                continue;
            const SupportJobResult result = generateSupportsForModel(*item.model, params, nullptr);
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
            const std::vector<std::shared_ptr<Model>> read = Vxpj::loadProject(file);
            ModelList loaded(read.begin(), read.end());
            std::vector<SceneItem> added;
            for (const auto &model : loaded) {
                SceneItem item{file, model};
                if (!model->overhangs().empty()) {
                    const SupportJobResult result = regenerateSupportsForModel(*model, nullptr);
                    if (!result.ok)
                        throw DIoError(QStringLiteral("supports of %1 could not be generated "
                                                      "again: %2")
                                           .arg(model->name(), result.error));
                    item.overhangs = result.overhangs;
                    item.supportParts = result.supportParts;
                }
                added.push_back(item);
            }
            op.placeBeside(scene.models(), loaded);
            scene.items.insert(scene.items.end(), added.begin(), added.end());
        } catch (const DIoError &e) {
            scene.failures.append({file, e.message()});
        }
    }
    return scene;
}

// Reports what could not be loaded; true when everything was.
bool reportLoadProblems(const HeadlessScene &scene, QTextStream &err)
{
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
    if (!scene.supportError.isEmpty()) {
        reportLoadProblems(scene, err);
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
    return reportLoadProblems(scene, err) && packagesOk ? 0 : 1;
}

// A progress bar on stderr, drawn only when stderr is a terminal.
class TerminalProgress : public IProgressable
{
public:
    TerminalProgress()
    {
        if (isatty(fileno(stderr)))
            setCallback([](int percent, const QString &stage, bool) {
                const int width = 40;
                const int filled = qBound(0, percent, 100) * width / 100;
                std::fprintf(stderr, "\r%-10s [%s%s] %3d%%", qPrintable(stage),
                             QByteArray(filled, '#').constData(),
                             QByteArray(width - filled, ' ').constData(), percent);
                if (percent >= 100)
                    std::fputc('\n', stderr);
                std::fflush(stderr);
            });
    }
};

int runExportVxpr(const CliArgs &args, const HeadlessServices &services, QTextStream &err)
{
    if (args.files.isEmpty()) {
        err << "Resinor: --export-vxpr needs at least one input file\n";
        return 2;
    }
    const HeadlessScene loaded = loadScene(args, args.files);
    if (!reportLoadProblems(loaded, err))
        return 1;
    const ModelList models = loaded.models();

    DScene scene;
    scene.addModels(models);
    OrvaneDlp::SliceJob job;
    for (const auto &mesh : scene.printMeshes())
        job.meshes.push_back(mesh);
    job.layerThickness = args.layerThickness;

    QString error;
    if (!services.renderPreviews) {
        err << "Resinor: note: preview pictures are left empty (this build has no renderer)\n";
    } else if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        err << "Resinor: note: preview pictures are left empty (no X display for OpenGL)\n";
    } else if (!services.renderPreviews(models, &job.previewFront, &job.previewTop,
                                        &job.previewLeft, &error)) {
        err << "Resinor: note: preview pictures are left empty: " << error << '\n';
        job.previewFront.clear();
        job.previewTop.clear();
        job.previewLeft.clear();
    }
    err.flush();

    TerminalProgress progress;
    if (!OrvaneDlp::exportVxpr(args.output, job, &progress, &error)) {
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
    if (!reportLoadProblems(loaded, err))
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
    if (!reportLoadProblems(loaded, err))
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

// OpenGL needs a display; without one the GL verbs get a plain core application and say so.
bool displayAvailable()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#endif
}

} // namespace

bool isHeadlessCommandLine(int argc, char **argv)
{
    if (argc < 2 || std::strncmp(argv[1], "--", 2) != 0)
        return false;
    if (std::strcmp(argv[1], "--platform") != 0)
        return true; // a verb, or an unknown option that gets a usage error
    // "--platform X,Y,Z" belongs to the window unless a verb follows.
    for (int i = 2; i < argc; ++i)
        if (isVerb(QString::fromLocal8Bit(argv[i])))
            return true;
    return false;
}

int runHeadless(int argc, char **argv, const HeadlessServices &services)
{
    // Only the verbs that render get a GUI application object (no window is ever created).
    bool wantsGl = false;
    for (int i = 1; i < argc; ++i)
        wantsGl = wantsGl || std::strcmp(argv[i], "--snapshots") == 0 ||
                  std::strcmp(argv[i], "--export-vxpr") == 0;
    std::unique_ptr<QCoreApplication> app;
    if (wantsGl && displayAvailable())
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    args = verbFirst(args);
    // The libraries' diagnostic chatter would bury the verbs' output; --verbose keeps it.
    if (args.removeAll(QStringLiteral("--verbose")) == 0)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    CliArgs cli;
    QString error;
    if (args.value(0) == QLatin1String("--help")) {
        out << kUsage;
        return 0;
    }
    if (!parseArgs(args, &cli, &error)) {
        err << "Resinor: " << error << '\n';
        return 2;
    }
    if (cli.verb == QLatin1String("--info"))
        return runInfo(cli, out, err);
    if (cli.verb == QLatin1String("--export-vxpr"))
        return runExportVxpr(cli, services, err);
    if (cli.verb == QLatin1String("--snapshots"))
        return runSnapshots(cli, services, err);
    if (cli.verb == QLatin1String("--save-project"))
        return runSaveProject(cli, err);

    err << "Resinor: unknown verb " << cli.verb << "\n\n" << kUsage;
    return 2;
}
