#pragma once

#include "io/DIoProjectBase.h"
#include "io/VxpjFormat.h"

// Project file (.vxpj) reader and writer of the import manager.
//
// read() accepts versions 1 to 5 and returns the models post-processed (box, size, normals,
// centroid; no welding), each marked indexed, with an empty generated-support object for mesh
// models so that their supports can be generated again. write() saves version 5 safely (see
// DVxpjSerializBase). Both throw DIoError with the message the user should see.
//
// Progress: reading uses "level1" 0-90 % for the records and 90-100 % for post-processing;
// cancellation ("Canceled", "Vxpj file write cancle") is polled from the progress object.
class DIoVXPJ : public DIoProjectBase
{
  public:
    DIoVXPJ();

    std::vector<std::shared_ptr<Model>> read() override;
    void write(const std::vector<std::shared_ptr<Model>> &models) override;

    // Conversion of manual supports; defaults to Vxpj::manualSupportRodCodec().
    void setRodCodec(Vxpj::RodCodec codec) { m_rodCodec = std::move(codec); }

  private:
    Vxpj::RodCodec m_rodCodec;
};

namespace Vxpj
{

// Reads a project; throws DIoError. progress may be null.
std::vector<std::shared_ptr<Model>> loadProject(const QString &path,
                                                IProgressable *progress = nullptr);
// Saves models as a version 5 project, replacing path only on success; throws DIoError.
void saveProject(const QString &path, const std::vector<std::shared_ptr<Model>> &models,
                 IProgressable *progress = nullptr);

// The one rule for "is this a project?", used by the drop, the start-up file, the command line
// and the project import: the suffix "vxpj" in any case, or the suffix "orvane" in any case on
// a regular file that starts with the project header. Everything else is a part.
bool isProjectPath(const QString &path);

} // namespace Vxpj
