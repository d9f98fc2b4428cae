#include "io/DVxpjUnserializeHelperV5.h"

#include "geometry/Model.h"

void DVxpjUnserializeHelperV5::readParameterFields(Model &model)
{
    DVxpjUnserializeHelperV4::readParameterFields(model);
    model.supportParameters().method = readInt32("the parameter block");
}

void DVxpjUnserializeHelperV5::readNameBlock()
{
    for (const std::shared_ptr<Model> &model : mutableModels()) {
        const std::int32_t length = readCount("name byte", 1);
        model->setBaseName(QString::fromLocal8Bit(readBytes(length, "the name block")));
    }
}
