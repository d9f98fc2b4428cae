#version 120
// Lit triangle meshes: models, supports, markers and highlight passes.
attribute vec3 _position;
attribute vec3 _normal;

uniform mat4 _mmvp;
uniform mat4 _mmodel;
uniform mat4 _mnormal;

struct DirectionalLight {
    vec3 Color;
    float ambient;
    float diffuse;
    vec3 position;
};
uniform DirectionalLight _dirLight;
uniform vec3 _eye;
uniform float _matSpecularIntensity;
uniform float _specularPower;
uniform vec4 _fcolor;
uniform vec4 _bcolor;

varying vec3 _outVertex;
varying vec4 _frontColor;
varying vec4 _backColor;

// Lighting of both sides at once. Seen from the back the normal is negated: the diffuse term
// changes sign and the reflection stays the same, so only the side facing the light gets the
// diffuse and specular terms.
void lighting(vec3 position, vec3 normal, out vec4 front, out vec4 back)
{
    vec4 ambient = vec4(_dirLight.Color * _dirLight.ambient, 1.0);
    vec3 lightDirection = -_dirLight.position;
    float diffuseFactor = dot(normalize(normal), lightDirection);
    float litFactor = abs(diffuseFactor);
    vec4 lit = ambient;
    if (litFactor > 0.0) {
        lit += vec4(_dirLight.Color * _dirLight.diffuse * litFactor, 1.0);
        vec3 vertexToEye = normalize(_eye - position);
        vec3 reflection = normalize(reflect(_dirLight.position, normal));
        float specularFactor = dot(vertexToEye, reflection);
        if (specularFactor > 0.0) {
            specularFactor = pow(specularFactor, _specularPower);
            lit += vec4(_dirLight.Color * _matSpecularIntensity * specularFactor, 1.0);
        }
    }
    front = diffuseFactor > 0.0 ? lit : ambient;
    back = diffuseFactor < 0.0 ? lit : ambient;
}

void main()
{
    vec3 normal = (_mnormal * vec4(_normal, 1.0)).xyz;
    vec3 position = (_mmodel * vec4(_position, 1.0)).xyz;
    _outVertex = position;
    vec4 front;
    vec4 back;
    lighting(position, normal, front, back);
    _frontColor = mix(front, _fcolor, 0.7);
    _backColor = mix(back, _bcolor, 0.1);
    gl_Position = _mmvp * vec4(_position, 1.0);
}
