#include "GlTestSupport.h"

#include "render/CContext.h"

#include <gtest/gtest.h>

using namespace Orvane3Ds;

TEST(ShaderPrograms, bothProgramsBuildFromTheResources)
{
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    CContext &ctx = gl.context();
    EXPECT_FALSE(ctx.modelProgram.vertexSource().isEmpty());
    EXPECT_TRUE(ctx.modelProgram.isLinked());
    EXPECT_TRUE(ctx.normalProgram.isLinked());
}

TEST(ShaderPrograms, namesMissingFromTheLinkedProgramAreMinusOne)
{
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    COrvaneProgramModel &model = gl.context().modelProgram;
    model.bind();
    EXPECT_GE(model.position, 0);
    EXPECT_GE(model.normal, 0);
    EXPECT_GE(model.mmvp, 0);
    EXPECT_GE(model.fcolor, 0);
    EXPECT_GE(model.dirLightPosition, 0);
    EXPECT_GE(model.outZ, 0);
    EXPECT_EQ(model.lightPosition, -1);
    EXPECT_EQ(model.mViewProjection, -1);
    for (GLint location : model.material)
        EXPECT_EQ(location, -1);
    // Setting an absent name is a no-op, not an error.
    glGetError();
    glUniform4f(model.lightPosition, 1, 1, 1, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    model.unbind();

    COrvaneProgramNormal &normal = gl.context().normalProgram;
    normal.bind();
    EXPECT_GE(normal.mvp, 0);
    EXPECT_GE(normal.position, 0);
    EXPECT_GE(normal.color, 0);
    EXPECT_GE(normal.outZ, 0);
    EXPECT_GE(normal.upCut, 0);
    normal.unbind();
}

TEST(ShaderPrograms, theDoubleRenderVariantBuildsWithItsOwnNames)
{
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    COrvaneProgramModel variant;
    variant.loadSources(QStringLiteral(":/glsl/doubleRender"));
    ASSERT_TRUE(variant.build(gl.engine().context()));
    variant.bind();
    EXPECT_GE(variant.lightPosition, 0);
    EXPECT_GE(variant.material[1], 0);
    EXPECT_EQ(variant.dirLightColor, -1);
    variant.unbind();
}

TEST(ShaderPrograms, aBrokenVertexShaderPrintsItsLogOnceAndStops)
{
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    COrvaneProgramModel broken;
    testing::internal::CaptureStdout();
    const bool built =
        broken.buildFromSources(gl.engine().context(), "#version 120\nvoid main() { oops }\n",
                                "#version 120\nvoid main() { also broken }\n");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(built);
    EXPECT_FALSE(broken.isLinked());
    EXPECT_FALSE(out.empty());
    // Only the vertex stage was compiled: the fragment shader exists but never compiled.
    GLint status = GL_TRUE;
    glGetShaderiv(broken.fragmentShaderId(), GL_COMPILE_STATUS, &status);
    EXPECT_EQ(status, GL_FALSE);
    GLint logLength = 0;
    glGetShaderiv(broken.fragmentShaderId(), GL_INFO_LOG_LENGTH, &logLength);
    EXPECT_LE(logLength, 1);
}

TEST(ShaderPrograms, aMissingSourceFailsAtBuild)
{
    rendertest::GlScene gl;
    ASSERT_TRUE(gl.isReady());
    COrvaneProgramNormal missing;
    missing.loadSources(QStringLiteral(":/glsl/doesNotExist"));
    EXPECT_TRUE(missing.vertexSource().isEmpty());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(missing.build(gl.engine().context()));
    testing::internal::GetCapturedStdout();
    // Binding an unusable program selects no program rather than raising GL errors.
    glGetError();
    missing.bind();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(missing.mvp, -1);
}
