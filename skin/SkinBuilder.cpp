#include "skin/SkinBuilder.h"

#include <cstring>

#include "controls/base/Container.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/list/TreeNode.h"
#include "controls/list/TreeView.h"
#include "core/ValueParse.h"
#include "host/ResourceLocation.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilderElements.h"
#include "skin/SkinXml.h"

namespace SkinUI {

namespace {

thread_local int t_buildDepth = 0;  // nested BuildFrom calls
thread_local int t_elementDepth = 0;  // nested sibling lists, across included documents
// The budget of the top-level build running; a raw pointer, kept alive by the CBudgetScope that set it.
thread_local CSkinBuilder::TBudget* t_budget = nullptr;

const char kElementsSpent[] = "the skin build ran out of its element budget (child layouts included)";
const char kBytesSpent[] = "the skin build ran out of its budget of document bytes (child layouts included)";
const char kTooDeep[] = "skin builds nested too deep";
const char kNotLoaded[] = "the skin document could not be loaded";
const char kNothingBuilt[] = "the skin document built no control";

// Marks the running budget spent, once, naming the limit: the build fails whoever started it.
void Spend(const char* limit)
{
    t_budget->spent = true;
    t_budget->spentOn = limit;
    ::OutputDebugStringA("SkinUI: ");
    ::OutputDebugStringA(limit);
    ::OutputDebugStringA("\n");
}

// Counts one element against the running build's budget; false once it is spent.
bool ChargeElement()
{
    if (t_budget == nullptr || t_budget->spent)
        return false;
    if (t_budget->elements >= CSkinBuilder::kMaxBuildElements) {
        Spend(kElementsSpent);
        return false;
    }
    ++t_budget->elements;
    return true;
}

bool ChargeBytes(size_t bytes)
{
    if (t_budget == nullptr || t_budget->spent)
        return false;
    if (bytes > CSkinBuilder::kMaxBuildBytes - t_budget->bytes) {
        Spend(kBytesSpent);
        return false;
    }
    t_budget->bytes += bytes;
    return true;
}

// Makes `budget` (or, when null, the running one, or else a fresh one) the running budget for as
// long as it lasts.
class CBudgetScope {
public:
    explicit CBudgetScope(CSkinBuilder::BudgetPtr budget)
        : m_outer(t_budget)
    {
        if (budget == nullptr && t_budget == nullptr)
            budget = std::make_shared<CSkinBuilder::TBudget>();
        if (budget != nullptr) {
            m_budget = budget;
            t_budget = budget.get();
        }
    }
    ~CBudgetScope() { t_budget = m_outer; }
    CBudgetScope(const CBudgetScope&) = delete;
    CBudgetScope& operator=(const CBudgetScope&) = delete;

    bool Spent() const { return t_budget->spent; }

private:
    CSkinBuilder::TBudget* m_outer;
    CSkinBuilder::BudgetPtr m_budget;  // keeps the running budget alive
};

// Counts one level on this thread for as long as it lasts.
class CDepthScope {
public:
    explicit CDepthScope(int& depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~CDepthScope() { --m_depth; }
    CDepthScope(const CDepthScope&) = delete;
    CDepthScope& operator=(const CDepthScope&) = delete;

private:
    int& m_depth;
};

bool IsNamed(const char* name, const char* expected) { return name != nullptr && std::strcmp(name, expected) == 0; }

IContainerUI* ContainerOf(CControlUI* control) { return ControlCast<IContainerUI>(control); }

// Resource ids address 16-bit values; anything else would be taken for a string pointer.
bool IsUsableResourceId(int id) { return id > 0 && id <= 0xFFFF; }

// Applies every attribute of `node` that `table` knows to `target`; a repeated name: the last wins.
template <class T> void ApplyNodeAttributes(CSkinXmlNode node, const CAttributeTable<T>& table, T& target)
{
    const int count = node.AttributeCount();
    for (int i = 0; i < count; ++i)
        table.Apply(target, node.AttributeNameAt(i), node.AttributeValueAt(i));
}

}  // namespace

CSkinBuilder::CSkinBuilder()
    : m_document(new CSkinXml)
{
}

CSkinBuilder::~CSkinBuilder() = default;

int CSkinBuilder::NestingDepth() { return t_buildDepth; }

int CSkinBuilder::ElementDepth() { return t_elementDepth; }

CSkinBuilder::BudgetPtr CSkinBuilder::CurrentBudget()
{
    // Handed out as shared: a child layout keeps it past the build that created it.
    return t_budget != nullptr ? t_budget->shared_from_this() : nullptr;
}

const char* CSkinBuilder::Failure() const
{
    if (m_budget != nullptr && m_budget->spent)
        return m_budget->spentOn;
    return m_failure;
}

CControlUI* CSkinBuilder::BuildFrom(const char* xml, const char* resourceType, IDialogBuilderCallback* callback,
    CWindowHostUI* host, CControlUI* parent)
{
    if (xml == nullptr) {
        m_failure = kNotLoaded;
        return nullptr;
    }
    // Past the cap the document is not even loaded: a self-including skin ends here.
    if (t_buildDepth >= kMaxNestedBuilds) {
        m_failure = kTooDeep;
        return nullptr;
    }
    CBudgetScope budget(nullptr);
    m_budget = CurrentBudget();
    if (!ChargeElement())
        return nullptr;
    CDepthScope depth(t_buildDepth);
    if (!Load(xml, resourceType)) {
        m_failure = kNotLoaded;
        return nullptr;
    }
    CControlUI* built = BuildLoaded(callback, host, parent);
    if (built == nullptr)
        m_failure = kNothingBuilt;
    if (!budget.Spent())
        return built;
    // Below a parent the built controls are the parent's already; the failure still shows.
    if (parent == nullptr)
        delete built;
    return nullptr;
}

bool CSkinBuilder::BuildInto(
    const char* xml, CWindowHostUI* host, IContainerUI& target, int treeDepth, BudgetPtr budget)
{
    if (xml == nullptr || t_buildDepth >= kMaxNestedBuilds)
        return false;
    CBudgetScope scope(budget);
    if (!ChargeElement())
        return false;
    CDepthScope depth(t_buildDepth);
    // The built tree hangs below `target`: its depth counts from there, not from zero.
    const int outerElementDepth = t_elementDepth;
    if (treeDepth > t_elementDepth)
        t_elementDepth = treeDepth;
    CControlUI* built = Load(xml, nullptr) ? BuildLoaded(nullptr, host, nullptr) : nullptr;
    bool added = built != nullptr && !scope.Spent() && target.AddChild(built);
    if (!added)
        delete built;
    // Adding initialises what was built, and that may build again and spend the rest.
    if (added && scope.Spent())
        added = false;
    t_elementDepth = outerElementDepth;
    return added;
}

bool CSkinBuilder::Load(const char* xml, const char* resourceType)
{
    if (!LoadDocument(xml, resourceType))
        return false;
    return ChargeBytes(m_document->LoadedBytes());
}

bool CSkinBuilder::LoadDocument(const char* xml, const char* resourceType)
{
    if (IS_INTRESOURCE(xml)) {
        const bool loaded = LoadFromResource(xml, resourceType);
        if (loaded)
            m_resourceType = resourceType;
        return loaded;
    }
    return xml[0] == '<' ? m_document->LoadFromText(xml) : m_document->LoadFromSkinFile(xml);
}

bool CSkinBuilder::LoadFromResource(const char* id, const char* resourceType)
{
    // Resources come from the process-wide resource module (the program itself unless one is set).
    HINSTANCE module = CResourceLocation::GetResourceInstance();
    HRSRC found = ::FindResourceA(module, id, resourceType);
    if (found == nullptr)
        return false;
    HGLOBAL handle = ::LoadResource(module, found);
    if (handle == nullptr)
        return false;
    DWORD size = ::SizeofResource(module, found);
    const void* bytes = ::LockResource(handle);
    if (bytes == nullptr || size == 0)
        return false;
    return m_document->LoadFromUtf8(static_cast<const unsigned char*>(bytes), size);
}

CControlUI* CSkinBuilder::BuildLoaded(IDialogBuilderCallback* callback, CWindowHostUI* host, CControlUI* parent)
{
    m_callback = callback;
    CSkinXmlNode root = m_document->RootNode();
    if (!root.Exists())
        return nullptr;
    if (host != nullptr) {
        RegisterResources(root, host);
        if (IsNamed(root.ElementName(), "Window") && host->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, host);
    }
    return BuildSiblings(root.FirstChildNode(), parent, host);
}

void CSkinBuilder::RegisterResources(CSkinXmlNode root, CWindowHostUI* host)
{
    for (CSkinXmlNode node = root.FirstChildNode(); node.Exists(); node = node.NextSiblingNode()) {
        const char* element = node.ElementName();
        if (IsNamed(element, "Image")) {
            TImageRequest image;
            ApplyNodeAttributes(node, ImageAttributes(), image);
            if (image.name != nullptr)
                host->AddImageEntry(image.name, image.resType, image.mask);
        } else if (IsNamed(element, "Font")) {
            TFontRequest font;
            ApplyNodeAttributes(node, FontAttributes(), font);
            if (font.face != nullptr) {
                host->AppendFont(font.face, font.size, font.bold, font.underline, font.italic);
                if (font.isDefault)
                    host->ReplaceDefaultFont(font.face, font.size, font.bold, font.underline, font.italic);
            }
        } else if (IsNamed(element, "Default")) {
            TDefaultRequest entry;
            ApplyNodeAttributes(node, DefaultAttributes(), entry);
            if (entry.name != nullptr)
                host->StoreClassDefaults(entry.name, entry.value != nullptr ? entry.value : "");
        }
    }
}

void CSkinBuilder::ApplyWindowAttributes(CSkinXmlNode root, CWindowHostUI* host)
{
    ApplyNodeAttributes(root, WindowAttributes(), *host);
}

CControlUI* CSkinBuilder::CreateControl(const char* elementName)
{
    if (elementName == nullptr || !ChargeElement())
        return nullptr;
    const size_t length = std::strlen(elementName);
    for (const TSkinElement& entry : SkinElements()) {
        if (entry.Length != length || std::strcmp(entry.Name, elementName) != 0)
            continue;
        if (entry.Create != nullptr)
            return entry.Create();
        break;
    }
    return m_callback != nullptr ? m_callback->CreateCustomControl(elementName) : nullptr;
}

void CSkinBuilder::ApplyAttributes(CSkinXmlNode element, CControlUI* control, CWindowHostUI* host)
{
    // The host's defaults for the element come first so the element's own attributes override them.
    if (host != nullptr) {
        control->AttachHost(host, nullptr, false);
        if (const char* defaults = host->ClassDefaultsFor(element.ElementName()))
            control->ApplyAttributeText(defaults);
    }
    const int count = element.AttributeCount();
    for (int i = 0; i < count; ++i)
        control->SetAttribute(element.AttributeNameAt(i), element.AttributeValueAt(i));
}

CControlUI* CSkinBuilder::BuildSiblings(CSkinXmlNode first, CControlUI* parent, CWindowHostUI* host)
{
    // Includes stack documents into one tree; keep the whole tree as shallow as one document may be,
    // so the recursive walks over it (layout, paint, find) stay within the stack.
    if (t_elementDepth >= CSkinXml::kMaxDepth)
        return nullptr;
    CDepthScope depth(t_elementDepth);
    IContainerUI* container = nullptr;
    bool containerLooked = false;
    CControlUI* result = nullptr;
    for (CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
        const char* element = node.ElementName();
        if (IsNamed(element, "Image") || IsNamed(element, "Font") || IsNamed(element, "Default"))
            continue;
        if (IsNamed(element, "Include")) {
            if (node.HasAnyAttribute())
                BuildInclude(node, parent, host);
            continue;
        }
        if (IsNamed(element, "TreeNode")) {
            if (!BuildTreeNode(node, parent, host))
                return nullptr;
            continue;
        }

        CControlUI* control = CreateControl(element);
        if (control == nullptr)
            continue;  // unknown here and to the callback: skipped with its subtree
        if (node.HasChildElements())
            BuildSiblings(node.FirstChildNode(), control, host);

        if (parent != nullptr) {
            if (CTreeNodeUI* treeNode = AsTreeNode(parent)) {
                // Markup inside a node decorates its item row (an icon, a second text, ...).
                if (!treeNode->GetItemRow()->AddChild(control)) {
                    delete control;
                    continue;
                }
            } else {
                if (!containerLooked) {
                    container = ContainerOf(parent);
                    containerLooked = true;
                }
                if (container == nullptr) {
                    delete control;
                    return nullptr;
                }
                if (!container->AddChild(control)) {
                    delete control;
                    continue;
                }
            }
        }

        ApplyAttributes(node, control, host);
        // The host is attached for real when the finished tree is attached to it.
        if (host != nullptr)
            control->AttachHost(nullptr, nullptr, false);

        if (result == nullptr) {
            result = control;
        } else if (parent == nullptr) {
            // Only the first top-level control is handed out; a further one would be unreachable.
            delete control;
        }
    }
    return result;
}

void CSkinBuilder::BuildInclude(CSkinXmlNode element, CControlUI* parent, CWindowHostUI* host)
{
    // Each value is read by name (the first of a repeated name counts) and cut to the buffer.
    TIncludeRequest request;
    char value[kIncludeValueBytes] = {};
    for (const auto& entry : IncludeAttributes()) {
        if (element.CopyAttributeValue(entry.Name, value, sizeof(value)))
            entry.Apply(request, value);
    }
    const char* source = request.source;
    int count = request.count;
    if (!request.hasSource || count <= 0)
        return;
    if (count > kMaxIncludeCount)
        count = kMaxIncludeCount;
    int resourceId = 0;
    if (m_resourceType != nullptr) {
        resourceId = ParseInt(source);
        if (!IsUsableResourceId(resourceId))
            return;
    }
    for (int i = 0; i < count && !t_budget->spent; ++i) {
        CSkinBuilder included;
        CControlUI* built = m_resourceType != nullptr
            ? included.BuildFrom(MAKEINTRESOURCEA(resourceId), m_resourceType, m_callback, host, parent)
            : included.BuildFrom(source, nullptr, m_callback, host, parent);
        // With a parent the included controls now belong to it; without one nobody would own them.
        if (parent == nullptr)
            delete built;
    }
}

bool CSkinBuilder::BuildTreeNode(CSkinXmlNode element, CControlUI* parent, CWindowHostUI* host)
{
    CTreeNodeUI* parentNode = AsTreeNode(parent);
    CTreeViewUI* view = ControlCast<CTreeViewUI>(parent);
    // A node needs a node or a tree view to live in; without one (no parent at all included) the
    // sibling list ends here, and nothing is built that could be left behind.
    if (parentNode == nullptr && view == nullptr)
        return false;

    CTreeNodeUI* node = new CTreeNodeUI;
    // Below a node the new one records itself at once; its own children follow, and the finished
    // subtree reaches the list when the topmost node joins the view.
    if (parentNode != nullptr && !parentNode->AddChild(node)) {
        delete node;
        return true;
    }
    ApplyAttributes(element, node, host);
    if (element.HasChildElements())
        BuildSiblings(element.FirstChildNode(), node, host);
    if (parentNode == nullptr && !view->AppendNode(node))
        delete node;
    return true;
}

}  // namespace SkinUI
