#version 120
uniform float _outZ;
uniform bool _upCut;

varying vec3 _outVertex;
varying vec4 _frontColor;
varying vec4 _backColor;

void main()
{
    if (_upCut) {
        if (_outVertex.z > _outZ)
            discard;
    } else if (_outVertex.z < _outZ) {
        discard;
    }
    gl_FragColor = gl_FrontFacing ? _frontColor : _backColor;
}
