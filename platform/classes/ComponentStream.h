#pragma once
// Writing components to object streams and reading them back, and the
// component resource files built on that.
//
// Writing a root gives its published properties (sub-objects as dotted names,
// with what their DefineProperties add), then the components that
// root->GetChildren(proc, root) names, each followed by its own children.
// Only what differs from a property's declared default is written.
//
// Reading into a root applies the root's properties, creates every other
// component with the root (or root->GetChildOwner()) as owner in file order,
// sets its parent before its properties, and after the whole stream fixes up
// component references and events, binds the root's published fields and
// calls Loaded. Components created before an error stay with the root.
#include "Component.h"
#include "StreamNode.h"

TObjectNode WriteComponentNode(TComponent* root);
// One component of root with its children, as writing root writes it.
TObjectNode WriteComponentNode(TComponent* component, TComponent* root);
// Reads into root; with nil, creates the root from the registered class.
TComponent* ReadComponentNode(const TObjectNode& node, TComponent* root);

QByteArray WriteComponentStream(TComponent* root);  // bare "TPF0" stream
QByteArray WriteComponentRes(TComponent* root);     // with the resource wrapper
// Accepts a bare stream or a resource.
TComponent* ReadComponentRes(const QByteArray& binaryStreamOrResource, TComponent* root);

void WriteComponentResFile(const QString& fileName, TComponent* root);
// A tree that was written (and perhaps completed) by hand, as a resource file.
void WriteComponentResFile(const QString& fileName, const TObjectNode& node);
TComponent* ReadComponentResFile(const QString& fileName, TComponent* root);

// The text form of a component, as a form resource is kept in source.
QString WriteComponentText(TComponent* root);
TComponent* ReadComponentText(const QString& text, TComponent* root);
