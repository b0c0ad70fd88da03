#include "Scene.h"

#include "Explorer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <unordered_map>

#include "zozud/io/Codec.h"
#include "zozud/io/IO.h"
#include "zozud/model/Materials.h"
#include "zozud/render/Render.h"

using namespace zozud;

namespace viewer {

namespace {

// The longest a tangent-space display gets (three lines a vertex).
const int MaxTangentVertices = 20000;
// Poses sampled to find the box an animation reaches.
const int MaxBoundSamples = 48;

std::string Lower(std::string s) {
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

bool IsOneOf(const std::string& ext, std::initializer_list<const char*> list) {
    for (const char* e : list)
        if (ext == e) return true;
    return false;
}

std::string Reason(const std::string& path) {
    std::string why = cIO::GetCodecFailureReason();
    return path + ": " + (why.empty() ? "cannot be read" : why);
}

int ShaderFor(bool diffuse, bool normal) {
    static int ids[4] = {-1, -1, -1, -1};
    static const char* const defines[4] = {nullptr, "#define DIFFUSE_MAP", "#define NORMAL_MAP",
                                           "#define DIFFUSE_MAP\n#define NORMAL_MAP"};
    int k = (diffuse ? 1 : 0) | (normal ? 2 : 0);
    if (ids[k] < 0) ids[k] = cRender::GetShaderID("ViewerLit", cVertex::Bump::FormatID, defines[k]);
    return ids[k];
}

void DrawTangents(const cList<cVertex::Bump>& verts, float length, int* budget) {
    const cColor red(1, 0, 0, 1), green(0, 1, 0, 1), blue(0, 0, 1, 1);
    for (const cVertex::Bump& v : verts) {
        if ((*budget)-- <= 0) return;
        cRender::DrawLine(v.Pos, v.Pos + v.Normal * length, blue);
        cRender::DrawLine(v.Pos, v.Pos + v.Tangent * length, red);
        cRender::DrawLine(v.Pos, v.Pos + v.BiTangent * length, green);
    }
}

}  // namespace

cCullMode::Enum HiddenFaces(const cList<int>& indices, const cList<cVertex::Bump>& verts) {
    struct Key {
        size_t operator()(const cVec3& p) const {
            float f[3] = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};  // -0 and 0 alike
            uint32_t b[3];
            std::memcpy(b, f, sizeof b);
            return (b[0] * 73856093u) ^ (b[1] * 19349663u) ^ (b[2] * 83492791u);
        }
    };
    // Vertices split at seams (texture, normal) are one point of the surface.
    std::unordered_map<cVec3, uint32_t, Key> ids;
    std::vector<uint32_t> point(verts.Count());
    for (int i = 0; i < verts.Count(); i++)
        point[i] = ids.emplace(verts[i].Pos, (uint32_t)ids.size()).first->second;
    std::unordered_map<uint64_t, int> edges;  // directed, from << 32 | to
    edges.reserve(indices.Count());
    double volume = 0;
    int triangles = 0;
    for (int t = 0; t + 2 < indices.Count(); t += 3) {
        int v[3] = {indices[t], indices[t + 1], indices[t + 2]};
        for (int k : v)
            if (k < 0 || k >= verts.Count()) return cCullMode::None;
        uint32_t p[3] = {point[v[0]], point[v[1]], point[v[2]]};
        if (p[0] == p[1] || p[1] == p[2] || p[2] == p[0]) continue;
        for (int e = 0; e < 3; e++)
            if (++edges[(uint64_t)p[e] << 32 | p[(e + 1) % 3]] > 1) return cCullMode::None;
        const cVec3 &a = verts[v[0]].Pos, &b = verts[v[1]].Pos, &c = verts[v[2]].Pos;
        volume += (double)a.x * ((double)b.y * c.z - (double)b.z * c.y) -
                  (double)a.y * ((double)b.x * c.z - (double)b.z * c.x) +
                  (double)a.z * ((double)b.x * c.y - (double)b.y * c.x);
        triangles++;
    }
    if (triangles == 0) return cCullMode::None;
    for (const auto& e : edges)
        if (!edges.count(e.first << 32 | e.first >> 32)) return cCullMode::None;  // a border
    // Counter-clockwise seen from outside encloses a positive volume.
    return volume > 0 ? cCullMode::Back : volume < 0 ? cCullMode::Front : cCullMode::None;
}

std::string ExtensionOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot + 1);
}

// ---- ModelDoc ----

void ModelDoc::Pose(float timeSec) {
    if (Model.IsStatic || (PosedAt == timeSec && Posed.Count() > 0)) return;
    PosedAt = timeSec;
    if (HasAnim && Anim.GetFrameCount() > 0) {
        Anim.SetFrame(timeSec, &Joints, true);
        Model.SetAnim(Joints, &Posed);
    } else {
        Joints.Clear();
        for (const cModel::Joint& j : Model.Joints) Joints.Add({j.Position, j.Orient});
        Model.GoToBindPose(&Posed);
    }
}

void ModelDoc::UpdateBounds() {
    Model.UpdateBounds();
    Bounds = Model.Bounds;
    if (Model.IsStatic || !HasAnim || Anim.GetFrameCount() == 0) {
        if (!Model.IsStatic) {
            Pose(0);
            Bounds.Clear();
            for (const cList<cVertex::Bump>& list : Posed)
                for (const cVertex::Bump& v : list) Bounds.AddPoint(v.Pos);
        }
        return;
    }
    int frames = Anim.GetFrameCount();
    int step = std::max(1, frames / MaxBoundSamples);
    Bounds.Clear();
    for (int f = 0; f < frames; f += step) {
        Anim.SetFrame(f, &Joints);
        Model.SetAnim(Joints, &Posed);
        for (const cList<cVertex::Bump>& list : Posed)
            for (const cVertex::Bump& v : list) Bounds.AddPoint(v.Pos);
    }
    PosedAt = -1;
}

// ---- ImageDoc ----

const char* ImageDoc::ChannelName(int channel) {
    static const char* const names[] = {"RGBA", "red", "green", "blue", "alpha"};
    return channel >= 0 && channel < 5 ? names[channel] : "";
}

std::string ImageDoc::Describe() const {
    char text[256];
    const char* format = cFormat::ToString(Image.Format);
    const char* kind = Image.IsCube() ? "cube " : Image.IsVolume() ? "volume " : "";
    std::snprintf(text, sizeof text, "%s%dx%d %s, level %d/%d, %s %d, %s", kind, Image.Width, Image.Height,
                  format ? format : "?", Level, Image.MipMapCount, Image.IsCube() ? "face" : "slice",
                  Face, ChannelName(Channel));
    return text;
}

// The selected level, face and channel as a plain RGBA texture: any format
// the image model can turn into 8-bit RGBA shows, whatever the device takes.
bool Scene::BuildTexture(ImageDoc* doc) {
    doc->Dirty = false;
    if (doc->Texture >= 0) cRender::FreeTexture(doc->Texture);
    doc->Texture = -1;
    doc->Note.clear();
    cImage& src = doc->Image;
    int level = std::min(doc->Level, std::max(0, src.MipMapCount - 1));
    int face = std::min(doc->Face, std::max(0, src.GetSliceCount(level) - 1));
    const unsigned char* pixels = src.GetSlice(level, face);
    if (!pixels) {
        doc->Note = "nothing at this level";
        return false;
    }
    cImage shown(cImage::CopyCtor, pixels, src.Format, src.GetWidth(level), src.GetHeight(level));
    if (!shown.Uncompress() || !shown.ToFormat(cFormat::Rgba8)) {
        doc->Note = std::string("cannot show ") + cFormat::ToString(src.Format);
        return false;
    }
    if (doc->Channel > 0) {
        unsigned char* p = shown.Pixels;
        for (int64_t i = 0, n = shown.GetPixelCount(); i < n; i++, p += 4) {
            unsigned char v = p[doc->Channel - 1];
            if (doc->Channel == 4) p[0] = p[1] = p[2] = v;
            else for (int c = 0; c < 3; c++) p[c] = c == doc->Channel - 1 ? v : 0;
            p[3] = 255;
        }
    }
    int nearest = cRender::GetSamplerStateID(cFilter::Nearest, cAddressMode::Clamp, cAddressMode::Clamp,
                                             cAddressMode::Clamp);
    doc->Texture = cRender::AddTexture(shown, nearest);
    if (doc->Texture < 0) doc->Note = "the device refused the texture";
    return doc->Texture >= 0;
}

// ---- Scene ----

bool Scene::Load(const std::string& given, std::string* error) {
    char* real = realpath(given.c_str(), nullptr);
    std::string path = real ? real : given;
    std::free(real);
    if (access(path.c_str(), R_OK) != 0) {
        *error = given + ": cannot open the file";
        return false;
    }
    std::string ext = Lower(ExtensionOf(path));
    bool ok;
    if (IsOneOf(ext, {"md5mesh", "obj", "cmodel"})) ok = LoadModel(path, error);
    else if (IsOneOf(ext, {"md5anim", "canim"})) ok = LoadAnim(path, error);
    else if (ext == "xml") ok = LoadLibrary(path, error);
    else if (ext == "ccamera") ok = LoadCamera(path, error);
    else if (cIO_FindCodec(cIO::GetImageCodecs(), ext.c_str())) ok = LoadImage(path, error);
    else {
        *error = given + ": unknown file type" + (ext.empty() ? "" : " \"." + ext + "\"");
        return false;
    }
    if (!ok && error->compare(0, path.size(), path) == 0) *error = given + error->substr(path.size());
    return ok;
}

bool Scene::LoadModel(const std::string& path, std::string* error) {
    std::unique_ptr<ModelDoc> doc(new ModelDoc);
    doc->Path = path;
    if (!cIO::LoadModel(path.c_str(), &doc->Model)) {
        *error = Reason(path);
        return false;
    }
    if (doc->Model.GetTriangleCount() == 0) {
        *error = path + ": holds no triangles";
        return false;
    }
    // A skinned mesh plays the animation of the same name beside it, if any.
    if (!doc->Model.IsStatic && Lower(ExtensionOf(path)) == "md5mesh") {
        std::string anim = path.substr(0, path.size() - 7) + "md5anim";
        if (access(anim.c_str(), R_OK) == 0 && cIO::LoadAnim(anim.c_str(), &doc->Anim) &&
            doc->Anim.GetJointCount() == doc->Model.Joints.Count())
            doc->HasAnim = true;
    }
    if (doc->Model.IsStatic && doc->Model.GetVertexCount() > 0) doc->Model.CalcTangents();
    doc->UpdateBounds();
    cList<cList<cVertex::Bump>> bind;
    if (!doc->Model.IsStatic) doc->Model.GoToBindPose(&bind);
    for (int i = 0; i < doc->Model.Meshes.Count(); i++) {
        const cModel::Mesh& mesh = doc->Model.Meshes[i];
        const cList<cVertex::Bump>* verts = doc->Model.IsStatic ? &mesh.Verts : i < bind.Count() ? &bind[i] : nullptr;
        doc->Cull.push_back(verts ? HiddenFaces(mesh.Indices, *verts) : cCullMode::None);
    }
    Models.push_back(std::move(doc));
    return true;
}

bool Scene::LoadAnim(const std::string& path, std::string* error) {
    ModelDoc* target = nullptr;
    for (auto& m : Models)
        if (!m->Model.IsStatic) target = m.get();
    if (!target) {
        *error = path + ": an animation needs a skinned model loaded before it";
        return false;
    }
    cAnim anim;
    if (!cIO::LoadAnim(path.c_str(), &anim)) {
        *error = Reason(path);
        return false;
    }
    if (anim.GetJointCount() != target->Model.Joints.Count()) {
        *error = path + ": its joints do not match the model's";
        return false;
    }
    target->Anim = anim;
    target->HasAnim = true;
    target->PosedAt = -1;
    target->UpdateBounds();
    return true;
}

bool Scene::LoadCamera(const std::string& path, std::string* error) {
    cCamera camera;
    if (!cIO::LoadCamera(path.c_str(), &camera)) {
        *error = Reason(path);
        return false;
    }
    int frames = 0;
    for (const cCamera::Camera& track : camera.Tracks) frames += track.Frames.Count();
    if (frames == 0) {
        *error = path + ": holds no camera keys";
        return false;
    }
    Camera = camera;
    CameraPath = path;
    return true;
}

cCamera::State Scene::CameraAt(float timeSec) const {
    cCamera::State state;
    int first = 0;
    while (first < Camera.Tracks.Count() && Camera.Tracks[first].Frames.IsEmpty()) first++;
    state.Track = first;
    state.TimeSec = Camera.GetStartTimeSec(first);
    Camera.Step(&state, std::max(0.0f, timeSec));
    return state;
}

bool Scene::LoadLibrary(const std::string& path, std::string* error) {
    cMaterials::LoadFailure::Enum failure = cMaterials::LoadFailure::NoFailure;
    cStr details;
    if (g_Materials.LoadLibrary(path.c_str(), &failure, &details) >= 0) {
        // Models already loaded look their materials up again.
        for (auto& m : Models) m->MapsResolved = false, m->Maps.clear();
        return true;
    }
    static const char* const why[] = {"", "cannot read the file", "bad XML", "not a material library",
                                      "too many libraries"};
    *error = path + ": " + why[failure >= 0 && failure <= 4 ? failure : 1];
    return false;
}

bool Scene::LoadImage(const std::string& path, std::string* error) {
    std::unique_ptr<ImageDoc> doc(new ImageDoc);
    doc->Path = path;
    if (!cIO::LoadImage(path.c_str(), &doc->Image) || doc->Image.IsEmpty()) {
        *error = Reason(path);
        return false;
    }
    Images.push_back(std::move(doc));
    CurrentImage = (int)Images.size() - 1;
    return true;
}

ModelDoc::~ModelDoc() { RemoveExplorerObject(&Placement); }

void Scene::Clear() {
    FreeRenderResources();
    Models.clear();
    Images.clear();
    CurrentImage = 0;
    Camera.Free();
    CameraPath.clear();
}

cBounds Scene::GetBounds() const {
    cBounds b;
    for (const auto& m : Models) b.AddBounds(m->Bounds);
    return b;
}

float Scene::GetDurationSec() const {
    float d = 0;
    for (const auto& m : Models) d = std::max(d, m->GetDurationSec());
    if (HasCamera()) d = std::max(d, Camera.CalcDurationSec());
    return d;
}

int Scene::GetTriangleCount() const {
    int n = 0;
    for (const auto& m : Models) n += m->Model.GetTriangleCount();
    return n;
}

void Scene::DrawModels(float timeSec, const DrawFlags& flags, const cVec3& lightDir) {
    cRender::PushDepthState();
    cRender::PushCullMode();
    cRender::SetDepthState(cRender::GetDepthStateID(true, true, cDepthFunc::LessEqual));
    cRender::SetBlendState(-1);
    cRender::SetWireframe(flags.Wireframe);
    for (auto& doc : Models) {
        cModel& model = doc->Model;
        if (!doc->MapsResolved) {
            doc->MapsResolved = true;
            for (const cModel::Mesh& mesh : model.Meshes) {
                doc->Maps.push_back(ResolveMaterial(mesh, doc->Path));
                if (cMaterial* material = GetMaterial(doc->Maps.back()))
                    AddExplorerObject(mesh.Material.ToChar(), material);
            }
            if (model.IsStatic) model.CreateRenderBuffers();
        }
        doc->Pose(timeSec);
        cRender::PushWorldMatrix();
        cRender::SetWorldMatrix(doc->Placement.ToMat4());
        const cVec3& scale = doc->Placement.Scale;
        const bool mirrored = scale.x * scale.y * scale.z < 0;
        for (int i = 0; i < model.Meshes.Count(); i++) {
            const MaterialMaps maps = CurrentMaps(doc->Maps[i]);
            int shader = ShaderFor(maps.Diffuse >= 0, maps.Normal >= 0);
            cRender::SetShader(shader);
            cRender::SetShaderConst(cRender::GetShaderConstID(shader, "c_LightDir"), lightDir);
            if (maps.Diffuse >= 0) cRender::SetTexture(cRender::GetSamplerID(shader, "s_Diffuse"), maps.Diffuse, -1);
            if (maps.Normal >= 0) cRender::SetTexture(cRender::GetSamplerID(shader, "s_Normal"), maps.Normal, -1);
            const cModel::Mesh& mesh = model.Meshes[i];
            // Files disagree on winding: only a closed surface's inner side
            // is left out; the shader lights both faces of the others.
            bool cull = !flags.Wireframe && i < (int)doc->Cull.size();
            cCullMode::Enum hidden = cull ? doc->Cull[i] : cCullMode::None;
            if (mirrored && hidden != cCullMode::None)  // a mirroring placement turns the winding over
                hidden = hidden == cCullMode::Back ? cCullMode::Front : cCullMode::Back;
            cRender::SetCullMode(hidden);
            if (model.IsStatic) model.Draw(i);
            else if (i < doc->Posed.Count())
                cRender::DrawIndexed(cTopology::Triangles, doc->Posed[i].GetPtr(), doc->Posed[i].Count(),
                                     mesh.Indices.GetPtr(), mesh.Indices.Count(), 4);
        }
        cRender::PopWorldMatrix();
    }
    cRender::SetWireframe(false);
    cRender::SetCullMode(cCullMode::None);

    float radius = GetBounds().IsEmpty() ? 1 : GetBounds().GetRadius();
    cRender::SetDepthState(cRender::GetDepthStateID(false, false, cDepthFunc::Always));
    for (auto& doc : Models) {
        cRender::PushWorldMatrix();
        cRender::SetWorldMatrix(doc->Placement.ToMat4());
        if (flags.Bounds) cRender::DrawBounds(doc->Bounds, cColor(1, 0.8f, 0.2f, 1));
        if (flags.Joints) {
            const cColor bone(1, 1, 1, 1), dot(1, 0.3f, 0.3f, 1);
            const cList<cAnim::Joint>& joints = doc->Joints;
            for (int j = 0; j < joints.Count() && j < doc->Model.Joints.Count(); j++) {
                int parent = doc->Model.Joints[j].Parent;
                if (parent >= 0 && parent < joints.Count())
                    cRender::DrawLine(joints[j].Position, joints[parent].Position, bone);
                cRender::DrawCrossHair(joints[j].Position, radius * 0.04f, dot);
            }
        }
        if (flags.TangentSpace) {
            int budget = MaxTangentVertices;
            float length = radius * 0.05f;
            if (doc->Model.IsStatic)
                for (const cModel::Mesh& mesh : doc->Model.Meshes) DrawTangents(mesh.Verts, length, &budget);
            else
                for (const cList<cVertex::Bump>& list : doc->Posed) DrawTangents(list, length, &budget);
        }
        cRender::PopWorldMatrix();
    }
    cRender::PopCullMode();
    cRender::PopDepthState();
}

void Scene::DrawImage(const cRect& area) {
    ImageDoc* doc = GetImage();
    if (!doc || area.GetWidth() < 2 || area.GetHeight() < 2) return;
    if (doc->Dirty) BuildTexture(doc);
    if (doc->Texture < 0) {
        cRender::DrawNoPreview(area, cColor(0.8f, 0.3f, 0.3f, 1));
        return;
    }
    float w = (float)cRender::GetTextureWidth(doc->Texture), h = (float)cRender::GetTextureHeight(doc->Texture);
    float scale = std::min(area.GetWidth() / w, area.GetHeight() / h);
    if (scale > 1) scale = std::floor(scale);  // whole pixels when enlarged
    cVec2 c = area.GetCenter();
    cRect r(std::floor(c.x - w * scale * 0.5f), std::floor(c.y - h * scale * 0.5f), 0, 0);
    r.x1 = r.x0 + w * scale;
    r.y1 = r.y0 + h * scale;
    // A checker board under the picture shows where it is transparent.
    cRender::FillRectangleDither(r, cVec2(r.x0, r.y0), cColor(0.35f, 0.35f, 0.35f, 1), cColor(0.5f, 0.5f, 0.5f, 1));
    cRender::FillRectangleTextured(r, doc->Texture, cRender::FillRectangleTexturedArgs());
    cRender::DrawRectangle(cRect(r.x0 - 1, r.y0 - 1, r.x1 + 1, r.y1 + 1), cColor(0, 0, 0, 1));
}

bool Scene::SaveModel(const std::string& path, std::string* error) const {
    if (Models.empty()) {
        *error = "no model to save";
        return false;
    }
    const cModel& source = Models.back()->Model;
    cModel copy;
    copy.Bounds = source.Bounds;
    if (source.IsStatic) {
        for (const cModel::Mesh& m : source.Meshes) copy.Meshes.Add(m);
    } else {
        cList<cList<cVertex::Bump>> bind;
        source.GoToBindPose(&bind);
        for (int i = 0; i < source.Meshes.Count(); i++) {
            cModel::Mesh m;
            m.Name = source.Meshes[i].Name;
            m.Material = source.Meshes[i].Material;
            m.Indices = source.Meshes[i].Indices;
            if (i < bind.Count()) m.Verts = bind[i];
            copy.Meshes.Add(m);
        }
    }
    std::string ext = Lower(ExtensionOf(path));
    if (ext != "obj" && ext != "cmodel") {
        *error = path + ": save as .obj or .cModel";
        return false;
    }
    if (!cIO::SaveModel(path.c_str(), copy)) {
        *error = Reason(path);
        return false;
    }
    return true;
}

void Scene::FreeRenderResources() {
    for (auto& m : Models) {
        m->Model.FreeRenderBuffers();
        m->MapsResolved = false;
        m->Maps.clear();
    }
    for (auto& i : Images) {
        if (i->Texture >= 0) cRender::FreeTexture(i->Texture);
        i->Texture = -1;
        i->Dirty = true;
    }
    FreeMaterialTextures();
}

}  // namespace viewer
