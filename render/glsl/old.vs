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

vec4 lighting(vec3 position, vec3 normal)
{
    vec4 ambient = vec4(_dirLight.Color * _dirLight.ambient, 1.0);
    vec4 diffuse = vec4(0.0);
    vec4 specular = vec4(0.0);
    vec3 lightDirection = -_dirLight.position;
    float diffuseFactor = dot(normalize(normal), lightDirection);
    if (diffuseFactor > 0.0) {
        diffuse = vec4(_dirLight.Color * _dirLight.diffuse * diffuseFactor, 1.0);
        vec3 vertexToEye = normalize(_eye - position);
        vec3 reflection = normalize(reflect(_dirLight.position, normal));
        float specularFactor = dot(vertexToEye, reflection);
        if (specularFactor > 0.0) {
            specularFactor = pow(specularFactor, _specularPower);
            specular = vec4(_dirLight.Color * _matSpecularIntensity * specularFactor, 1.0);
        }
    }
    return ambient + diffuse + specular;
}

void main()
{
    vec3 normal = (_mnormal * vec4(_normal, 1.0)).xyz;
    vec3 position = (_mmodel * vec4(_position, 1.0)).xyz;
    _outVertex = position;
    _frontColor = mix(lighting(position, normal), _fcolor, 0.7);
    _backColor = mix(lighting(position, -normal), _bcolor, 0.1);
    gl_Position = _mmvp * vec4(_position, 1.0);
}
