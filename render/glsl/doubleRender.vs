#version 120
// Phong variant with a point/directional light and a material.
attribute vec3 _position;
attribute vec3 _normal;

uniform mat4 _mViewProjection;
uniform mat4 _mNormal;
uniform mat4 _mvp;
uniform mat4 _mmodel;

varying vec3 _outVertex;
varying vec3 _outNormal;

void main()
{
    vec4 world = _mmodel * vec4(_position, 1.0);
    _outVertex = world.xyz;
    _outNormal = (_mNormal * vec4(_normal, 0.0)).xyz;
    gl_Position = _mvp * vec4(_position, 1.0);
}
