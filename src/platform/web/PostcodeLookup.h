#pragma once
// Address of a Brazilian postcode (CEP) from a ViaCEP-style JSON service:
// GET <base>/ws/<8 digits>/json/. The answer's "logradouro", "complemento",
// "bairro", "localidade", "uf" and "ibge" become the fields below.
//
// NotFound when the service answers {"erro": true} or {"erro": "true"} (it
// has sent both); Failed, with its Portuguese message, for anything that is
// not 8 digits (no request is sent), a network failure or timeout, an HTTP
// error, and an answer that is not a JSON object with a city and a state.
// The request runs as HttpSession describes: the window keeps painting and
// waits at most the configured timeouts.

#include "web/ConsultStatus.h"
#include "web/WebSettings.h"

#include <QString>

struct PostcodeAddress
{
    QString cep;        // the 8 digits
    QString street;     // logradouro
    QString complement; // complemento
    QString district;   // bairro
    QString city;       // localidade
    QString state;      // uf
    QString ibgeCode;   // ibge: the city's code, 7 digits
};

struct PostcodeResult
{
    ConsultStatus status = ConsultStatus::Failed; // Found, NotFound or Failed
    QString message;
    PostcodeAddress address;

    bool found() const { return status == ConsultStatus::Found; }
};

class PostcodeLookup
{
public:
    explicit PostcodeLookup(const WebSettings &settings = {});

    PostcodeResult lookup(const QString &eightDigits);

private:
    QString m_base;
    HttpSession m_http;
};
