#version 120
uniform vec4 _color;
uniform float _outZ;
uniform bool _upCut;
varying vec3 _outVertex;

void main()
{
    if (_upCut) {
        if (_outVertex.z > _outZ)
            discard;
    } else if (_outVertex.z < _outZ) {
        discard;
    }
    gl_FragColor = _color;
}
