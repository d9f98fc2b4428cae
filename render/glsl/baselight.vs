#version 120
// Fixed-function-style lighting without clipping.
attribute vec3 _position;
attribute vec3 _normal;
uniform mat4 _mvp;
uniform mat4 _mmodel;
varying vec3 _outVertex;
varying vec3 _outNormal;

void main()
{
    _outVertex = (_mmodel * vec4(_position, 1.0)).xyz;
    _outNormal = (_mmodel * vec4(_normal, 0.0)).xyz;
    gl_Position = _mvp * vec4(_position, 1.0);
}
