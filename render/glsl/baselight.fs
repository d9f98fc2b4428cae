#version 120
struct LightSource {
    vec4 position;
    vec4 ambient;
    vec4 diffuse;
};
uniform LightSource _light;
uniform vec4 _color;
varying vec3 _outVertex;
varying vec3 _outNormal;

void main()
{
    vec3 n = normalize(_outNormal);
    vec3 l = normalize(_light.position.xyz);
    float k = max(dot(n, l), 0.0);
    gl_FragColor = vec4((_light.ambient + _light.diffuse * k).rgb * _color.rgb, _color.a);
}
