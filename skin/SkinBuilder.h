// CSkinBuilder: turns one skin layout document into a tree of controls.
//
// A builder loads one document (a program resource, literal XML text, or a file found through the
// skin archive or folder), registers the document's shared resources (Image, Font, Default) and the
// Window element's settings with the host, then creates one control per element: children first,
// then the host's default attributes for the element name, then the element's own attributes, then
// the attach to the parent. The controls outlive the builder; the returned control and everything
// below it belong to the caller (normally the host, once the window attaches the tree).
//
// Builds nest (Include elements, child layouts that build their own document); one per-thread depth
// counter caps them at kMaxNestedBuilds, past which a build answers null without loading anything,
// so a document that includes itself, directly or through others, ends instead of exhausting the
// stack. Element nesting inside one document is capped by the parser (CSkinXml::kMaxDepth), and the
// same cap bounds the depth of the tree that included documents build together. A hostile
// Include "count" is bounded by kMaxIncludeCount. A top-level build has one budget of controls
// (kMaxBuildElements) and of document bytes (kMaxBuildBytes) for everything it causes: included
// documents, and the child layouts it creates, even when they build later, at adoption. A build
// that finds the budget spent answers nothing at all (null, or false from BuildInto) rather than a
// tree with parts silently missing, says which limit ran out (Failure) and writes it to the
// debugger's output, so a program that builds on its own learns of it too.
//
// Use: construct, BuildFrom once, destroy. UI thread only.
#pragma once

#include <windows.h>

#include <memory>

namespace SkinUI {

class CControlUI;
class IContainerUI;
class CWindowHostUI;
class CSkinXml;
class CSkinXmlNode;

// Asked for every element the builder has no class for. Returns a new control, which the builder
// (and then its parent) owns from then on, or null when the name is unknown here too.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateCustomControl(const char* elementName) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CSkinBuilder {
public:
    // Deepest nesting of builds (a top-level build counts as one).
    static constexpr int kMaxNestedBuilds = 16;
    // Include's attribute values are read into buffers of this size (longer values are cut).
    static constexpr size_t kIncludeValueBytes = 500;
    // A larger Include "count" is cut to this.
    static constexpr int kMaxIncludeCount = 1000;
    // Work one top-level build may do: every control created and every document loaded counts
    // one; past it the build fails.
    static constexpr int kMaxBuildElements = 100000;
    // Document text one top-level build may load, every document counted.
    static constexpr size_t kMaxBuildBytes = 16u * 1024u * 1024u;

    // What a top-level build has spent so far; shared with the child layouts it creates.
    struct TBudget : std::enable_shared_from_this<TBudget> {
        int elements = 0;
        size_t bytes = 0;
        bool spent = false;
        // Once spent: which limit ran out, as a sentence (also written to the debugger's output).
        const char* spentOn = nullptr;
    };
    using BudgetPtr = std::shared_ptr<TBudget>;

    CSkinBuilder();
    ~CSkinBuilder();
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // xml: a resource id made with MAKEINTRESOURCE (then resourceType names the resource type),
    // XML text when it begins with '<', otherwise a skin file name. host and parent may be null.
    // Answers the first control created directly under the document root; null when loading failed,
    // when nothing could be built, or past the nesting cap.
    CControlUI* BuildFrom(const char* xml, const char* resourceType = nullptr,
        IDialogBuilderCallback* callback = nullptr, CWindowHostUI* host = nullptr, CControlUI* parent = nullptr);
    // Builds from the document already loaded (BuildFrom's second half).
    CControlUI* BuildLoaded(IDialogBuilderCallback* callback, CWindowHostUI* host, CControlUI* parent = nullptr);
    // For a control that fills itself from a document when initialised (a child layout): builds
    // `xml` as BuildFrom does with no parent, and adds the result to `target` while the build still
    // counts as nested, because adding initialises what was built and that may build again.
    // `treeDepth` is how deep `target` sits in its tree; the built tree counts from there against
    // the document depth cap. False when nothing was added (the result is then destroyed).
    // `budget` is the one of the build that created the target (see CurrentBudget); null starts a
    // budget of its own.
    bool BuildInto(const char* xml, CWindowHostUI* host, IContainerUI& target, int treeDepth, BudgetPtr budget);

    // The budget BuildFrom spent from (null before it ran). The child layouts it created spend
    // from it when the tree is adopted: a caller that adopts the tree reads `spent` afterwards.
    const BudgetPtr& Budget() const { return m_budget; }
    // Why BuildFrom answered nothing, or why the tree it built is not whole: a sentence naming the
    // cause (the budget that ran out, the nesting cap, a document that did not load); null while
    // nothing failed. Asked again after adopting the tree, it covers the child layouts built then.
    const char* Failure() const;

    // Current build nesting on this thread (0 outside any build).
    static int NestingDepth();
    // While a document is being built: the tree depth of the sibling list being built (1 for the
    // document's top-level controls, more below them and in included documents); 0 outside builds.
    static int ElementDepth();
    // The budget of the build running on this thread; null outside builds.
    static BudgetPtr CurrentBudget();

private:
    // Loads and charges the document's bytes to the running budget.
    bool Load(const char* xml, const char* resourceType);
    bool LoadDocument(const char* xml, const char* resourceType);
    bool LoadFromResource(const char* id, const char* resourceType);
    void RegisterResources(CSkinXmlNode root, CWindowHostUI* host);
    static void ApplyWindowAttributes(CSkinXmlNode root, CWindowHostUI* host);
    CControlUI* BuildSiblings(CSkinXmlNode first, CControlUI* parent, CWindowHostUI* host);
    void BuildInclude(CSkinXmlNode element, CControlUI* parent, CWindowHostUI* host);
    // Returns false when the sibling list has to stop (no fitting parent for the node).
    bool BuildTreeNode(CSkinXmlNode element, CControlUI* parent, CWindowHostUI* host);
    CControlUI* CreateControl(const char* elementName);
    static void ApplyAttributes(CSkinXmlNode element, CControlUI* control, CWindowHostUI* host);

    std::unique_ptr<CSkinXml> m_document;  // owned
    IDialogBuilderCallback* m_callback = nullptr;  // not owned; may be null
    const char* m_resourceType = nullptr;  // not owned; set when loaded from a resource
    BudgetPtr m_budget;  // shared with the child layouts the build created
    const char* m_failure = nullptr;  // static text; a spent budget is read from the budget itself
};

}  // namespace SkinUI
