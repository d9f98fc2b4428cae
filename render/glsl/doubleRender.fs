#version 120
struct LightSource {
    vec4 Position;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
};
struct MaterialProperties {
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    float Shininess;
};
uniform LightSource _Light;
uniform MaterialProperties _Material;
uniform vec3 _eye;
uniform vec4 _fcolor;
uniform vec4 _bcolor;
uniform float _outZ;

varying vec3 _outVertex;
varying vec3 _outNormal;

vec4 phong(vec3 normal)
{
    vec3 n = normalize(normal);
    vec3 l = _Light.Position.w == 0.0 ? normalize(_Light.Position.xyz)
                                       : normalize(_Light.Position.xyz - _outVertex);
    vec3 v = normalize(_eye - _outVertex);
    vec3 r = reflect(-l, n);
    vec3 ambient = _Light.ambient * _Material.ambient;
    vec3 diffuse = _Light.diffuse * _Material.diffuse * max(dot(n, l), 0.0);
    vec3 specular = _Light.specular * _Material.specular
                    * pow(max(dot(r, v), 0.0), _Material.Shininess);
    return vec4(ambient + diffuse + specular, 1.0);
}

void main()
{
    if (_outVertex.z > _outZ)
        discard;
    if (gl_FrontFacing)
        gl_FragColor = mix(phong(_outNormal), _fcolor, 0.7);
    else
        gl_FragColor = mix(phong(-_outNormal), _bcolor, 0.7);
}
