#pragma once
// Stands in for the engine's expression builder in these tests: each call is
// recorded and answered by the installed function.
#include <QString>
#include <functional>
#include <vector>

class TComponent;

struct BuilderCall {
    QString description;
    QString text;
    TComponent* owner = nullptr;
};
using BuilderAnswer = std::function<bool(QString& text)>;

// Installs the answer for the life of the scope and records the calls made meanwhile.
class BuilderScope {
public:
    explicit BuilderScope(BuilderAnswer answer);
    ~BuilderScope();
    std::vector<BuilderCall> calls;
    BuilderAnswer answer_;
};
