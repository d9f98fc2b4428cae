#version 120
// Flat-coloured lines: grid, contour models, rings.
attribute vec3 _position;
uniform mat4 _mvp;
varying vec3 _outVertex;

void main()
{
    _outVertex = _position;
    gl_Position = _mvp * vec4(_position, 1.0);
}
