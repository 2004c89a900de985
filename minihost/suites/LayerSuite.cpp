// The document's layers, topmost first.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr CountLayers(int32_t* count)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!count)
        return kCCBadParameterErr;
    *count = static_cast<int32_t>(doc->layers().size());
    return kCCNoErr;
}

CCErr GetNthLayer(int32_t index, CCLayerHandle* layer)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!layer || index < 0 || static_cast<std::size_t>(index) >= doc->layers().size())
        return kCCBadParameterErr;
    *layer = toLayerHandle(doc->layers()[static_cast<std::size_t>(index)].id);
    return kCCNoErr;
}

CCErr GetCurrentLayer(CCLayerHandle* layer)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!layer)
        return kCCBadParameterErr;
    *layer = toLayerHandle(doc->currentLayer());
    return kCCNoErr;
}

CCErr SetCurrentLayer(CCLayerHandle layer)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    doc->setCurrentLayer(l->id);
    return kCCNoErr;
}

CCErr GetFirstLayer(CCLayerHandle* layer)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!layer)
        return kCCBadParameterErr;
    *layer = doc->layers().empty() ? nullptr : toLayerHandle(doc->layers().front().id);
    return kCCNoErr;
}

// The layer below; null after the last one.
CCErr GetNextLayer(CCLayerHandle layer, CCLayerHandle* next)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    if (!next)
        return kCCBadParameterErr;
    const auto& layers = doc->layers();
    *next = nullptr;
    for (std::size_t i = 0; i + 1 < layers.size(); ++i)
        if (layers[i].id == l->id)
            *next = toLayerHandle(layers[i + 1].id);
    return kCCNoErr;
}

CCErr GetLayerEditable(CCLayerHandle layer, CCBool32* editable)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    if (!editable)
        return kCCBadParameterErr;
    *editable = l->editable ? 1 : 0;
    return kCCNoErr;
}

CCErr SetLayerEditable(CCLayerHandle layer, CCBool32 editable)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    return guarded([&] {
        doc->setLayerFlags(l->id, editable != 0, l->visible);
        return kCCNoErr;
    });
}

CCErr GetLayerVisible(CCLayerHandle layer, CCBool32* visible)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    if (!visible)
        return kCCBadParameterErr;
    *visible = l->visible ? 1 : 0;
    return kCCNoErr;
}

CCErr SetLayerVisible(CCLayerHandle layer, CCBool32 visible)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    return guarded([&] {
        doc->setLayerFlags(l->id, l->editable, visible != 0);
        return kCCNoErr;
    });
}

CCErr GetLayerTitle(CCLayerHandle layer, const char** title)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    if (!title)
        return kCCBadParameterErr;
    *title = l->name.c_str();
    return kCCNoErr;
}

} // namespace

const CCLayerSuite& layer()
{
    static const CCLayerSuite table{
        CountLayers,      GetNthLayer,      GetCurrentLayer, SetCurrentLayer, GetFirstLayer, GetNextLayer,
        GetLayerEditable, SetLayerEditable, GetLayerVisible, SetLayerVisible, GetLayerTitle,
    };
    return table;
}

} // namespace minihost::suites
