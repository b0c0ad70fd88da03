// The facade's resource tables of models, animations and cameras: one entry
// per (path, key), index = id. A file that fails to load still gets its
// entry, empty, so the id stays valid and a reload can fill it.
#include "zozud/core/Log.h"
#include "zozud/io/IO.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"

namespace zozud {

namespace {

struct cIO_Model {
    cStr    Path;
    cModel* Model = nullptr;
    bool    Proxy = false;
};
struct cIO_Anim {
    cStr   Path;
    int    Param = 0;
    cMat4  Transform = cMat4::Identity;
    cAnim* Anim = nullptr;
};
struct cIO_Camera {
    cStr     Path;
    cCamera* Camera = nullptr;
};

cList<cIO_Model>& Models() {
    static cList<cIO_Model>* list = new cList<cIO_Model>;
    return *list;
}
cList<cIO_Anim>& Anims() {
    static cList<cIO_Anim>* list = new cList<cIO_Anim>;
    return *list;
}
cList<cIO_Camera>& Cameras() {
    static cList<cIO_Camera>* list = new cList<cIO_Camera>;
    return *list;
}

const cStr& NoPath() {
    static const cStr* empty = new cStr;
    return *empty;
}

// The path as the sources see it: relative to the program folder when it
// lies below it.
cStr RelativePath(const char* path) {
    cStr resolved = cIO::EnsureAbsolutePath(path ? path : "");
    const cStr& folder = cIO::GetDefaultSourceFolder();
    if (!folder.IsEmpty() && cStr::ComparePath(resolved, folder, folder.Length()) == 0)
        resolved.RemoveFileAbsPath(folder);
    return resolved;
}

void LoadEntry(cIO_Model& e) {
    e.Model->Free();
    if (!cIO::LoadModel(e.Path, e.Model)) e.Model->Free();
    if (!e.Proxy) {
        e.Model->GetMaterialsID();
        e.Model->CreateRenderBuffers();
    }
}

void LoadEntry(cIO_Anim& e) {
    e.Anim->Free();
    if (!cIO::LoadAnim(e.Path, e.Anim)) e.Anim->Free();
    if (!cMat4::Equals(e.Transform, cMat4::Identity, 1e-6f)) e.Anim->Transform(e.Transform);
}

void LoadEntry(cIO_Camera& e) {
    e.Camera->Free();
    if (!cIO::LoadCamera(e.Path, e.Camera)) e.Camera->Free();
}

template <class Entry>
void ReloadPath(cList<Entry>& table, const char* path) {
    cStr rel = RelativePath(path);
    for (Entry& e : table)
        if (cStr::ComparePath(e.Path, rel) == 0) LoadEntry(e);
}

}  // namespace

// ---- Models ----

int cIO::GetModelID(const char* path, bool proxy) {
    cStr rel = RelativePath(path);
    cList<cIO_Model>& table = Models();
    for (int i = 0; i < table.Count(); i++)
        if (table[i].Proxy == proxy && cStr::ComparePath(table[i].Path, rel) == 0) return i;
    cIO_Model e;
    e.Path = rel;
    e.Model = new cModel;
    e.Proxy = proxy;
    LoadEntry(e);
    return table.Add(e);
}

cModel* cIO::GetModelPtr(int id) { return id >= 0 && id < Models().Count() ? Models()[id].Model : nullptr; }
const cStr& cIO::GetModelFilePn(int id) { return id >= 0 && id < Models().Count() ? Models()[id].Path : NoPath(); }
void cIO::ReloadModel(int id) {
    if (id >= 0 && id < Models().Count()) LoadEntry(Models()[id]);
}
void cIO::ReloadModel(const char* path) { ReloadPath(Models(), path); }

void cIO::ReloadModels() {
    int counts[4] = {0, 0, 0, 0};  // static, anim, static proxies, anim proxies
    for (cIO_Model& e : Models()) {
        LoadEntry(e);
        counts[(e.Model->IsStatic ? 0 : 1) + (e.Proxy ? 2 : 0)]++;
    }
    cLog::Message("Reloaded %d Static Models, %d Anim Models, %d Static Proxies, %d Anim Proxies.", counts[0],
                  counts[1], counts[2], counts[3]);
}

void cIO::UnloadModels() {
    for (cIO_Model& e : Models()) e.Model->Free();
    cLog::Message("Unloaded %d Models.", Models().Count());
}

void cIO::FreeModels() {
    UnloadModels();
    for (cIO_Model& e : Models()) delete e.Model;
    Models().Free();
}

// ---- Animations ----

int cIO::GetAnimID(const char* path, int param, const cMat4& transform) {
    cStr rel = RelativePath(path);
    cList<cIO_Anim>& table = Anims();
    for (int i = 0; i < table.Count(); i++) {
        cIO_Anim& e = table[i];
        if (e.Param != param || !cMat4::Equals(e.Transform, transform, 0.001f) || cStr::ComparePath(e.Path, rel) != 0)
            continue;
        if (e.Anim->GetFrameCount() == 0) LoadEntry(e);
        return i;
    }
    cIO_Anim e;
    e.Path = rel;
    e.Param = param;
    e.Transform = transform;
    e.Anim = new cAnim;
    LoadEntry(e);
    return table.Add(e);
}

const cAnim* cIO::GetAnimPtr(int id) { return GetAnimMutablePtr(id); }
cAnim* cIO::GetAnimMutablePtr(int id) { return id >= 0 && id < Anims().Count() ? Anims()[id].Anim : nullptr; }
const cStr& cIO::GetAnimFilePn(int id) { return id >= 0 && id < Anims().Count() ? Anims()[id].Path : NoPath(); }
void cIO::ReloadAnim(int id) {
    if (id >= 0 && id < Anims().Count()) LoadEntry(Anims()[id]);
}
void cIO::ReloadAnim(const char* path) { ReloadPath(Anims(), path); }

void cIO::ReloadAnims() {
    for (cIO_Anim& e : Anims()) LoadEntry(e);
    cLog::Message("Reloaded %d Anims.", Anims().Count());
}

void cIO::UnloadAnims() {
    for (cIO_Anim& e : Anims()) e.Anim->Free();
    cLog::Message("Unloaded %d Anims.", Anims().Count());
}

void cIO::FreeAnims() {
    UnloadAnims();
    for (cIO_Anim& e : Anims()) delete e.Anim;
    Anims().Free();
}

// ---- Cameras ----

int cIO::GetCameraID(const char* path) {
    cStr rel = RelativePath(path);
    cList<cIO_Camera>& table = Cameras();
    for (int i = 0; i < table.Count(); i++)
        if (cStr::ComparePath(table[i].Path, rel) == 0) return i;
    cIO_Camera e;
    e.Path = rel;
    e.Camera = new cCamera;
    LoadEntry(e);
    return table.Add(e);
}

const cCamera* cIO::GetCameraPtr(int id) { return id >= 0 && id < Cameras().Count() ? Cameras()[id].Camera : nullptr; }
void cIO::ReloadCamera(int id) {
    if (id >= 0 && id < Cameras().Count()) LoadEntry(Cameras()[id]);
}
void cIO::ReloadCamera(const char* path) { ReloadPath(Cameras(), path); }

void cIO::ReloadCameras() {
    for (cIO_Camera& e : Cameras()) LoadEntry(e);
    cLog::Message("Reloaded %d Cameras.", Cameras().Count());
}

void cIO::UnloadCameras() {
    for (cIO_Camera& e : Cameras()) e.Camera->Free();
    cLog::Message("Unloaded %d Cameras.", Cameras().Count());
}

void cIO::FreeCameras() {
    UnloadCameras();
    for (cIO_Camera& e : Cameras()) delete e.Camera;
    Cameras().Free();
}

}  // namespace zozud
