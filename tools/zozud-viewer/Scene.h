// What the viewer shows: the models (static, or skinned with an animation
// that poses them at a time) and the images, as loaded from files. Loading
// needs no render device; drawing does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Rect.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"
#include "zozud/render/RenderTypes.h"
#include "zozud/view/Transform.h"

#include "Materials.h"

namespace viewer {

struct ModelDoc {
    std::string     Path;
    zozud::cModel   Model;
    zozud::cAnim    Anim;
    bool            HasAnim = false;
    zozud::cBounds  Bounds;  // of every pose the animation reaches (of the model without one)
    std::vector<MaterialMaps> Maps;  // per mesh; filled at the first draw
    std::vector<zozud::cCullMode::Enum> Cull;  // per mesh: the faces never seen, found at load
    bool            MapsResolved = false;
    zozud::cList<zozud::cList<zozud::cVertex::Bump>> Posed;  // skinned vertices of the last pose
    zozud::cList<zozud::cAnim::Joint> Joints;                // the joints of the last pose
    float           PosedAt = -1;  // the time of the last pose
    zozud::cTransform Placement;   // where the model stands in the scene; edited in the explorer

    ~ModelDoc();                   // the explorer forgets the placement

    float GetDurationSec() const { return HasAnim ? Anim.GetDurationSec() : 0; }
    void  Pose(float timeSec);     // skinned models: Posed and Joints at the time
    void  UpdateBounds();
};

struct ImageDoc {
    std::string   Path;
    zozud::cImage Image;
    int           Level = 0;
    int           Face = 0;      // cube face or volume slice
    int           Channel = 0;   // 0 all, 1 red, 2 green, 3 blue, 4 alpha as grey
    int           Texture = -1;  // what is shown, rebuilt when the selection changes
    bool          Dirty = true;
    std::string   Note;          // why it cannot be shown, when it cannot

    static const char* ChannelName(int channel);
    std::string Describe() const;  // size, format, level, face, channel
};

struct DrawFlags {
    bool Joints = false;
    bool TangentSpace = false;
    bool Grid = true;
    bool Bounds = false;
    bool Wireframe = false;
};

class Scene {
public:
    std::vector<std::unique_ptr<ModelDoc>> Models;
    std::vector<std::unique_ptr<ImageDoc>> Images;
    int CurrentImage = 0;
    // A camera track (cCamera) played on the animation clock; the last loaded.
    zozud::cCamera Camera;
    std::string    CameraPath;
    bool HasCamera() const { return !CameraPath.empty(); }
    // Where the camera stands on its tracks at the time from their start
    // (looping when the file says so, held at the end otherwise).
    zozud::cCamera::State CameraAt(float timeSec) const;

    // Loads one file by its extension: models (md5mesh, obj, cModel), an
    // animation (md5anim, cAnim: given to the last skinned model) or an
    // image (bmp, tga, dds, pvr), a camera track (cCamera) or a material
    // library (xml). False with one
    // line in *error otherwise.
    bool Load(const std::string& path, std::string* error);
    void Clear();
    bool IsEmpty() const { return Models.empty() && Images.empty(); }

    zozud::cBounds GetBounds() const;  // of every model
    float GetDurationSec() const;      // the longest animation or camera track
    int   GetTriangleCount() const;

    void DrawModels(float timeSec, const DrawFlags& flags, const zozud::cVec3& lightDir);
    void DrawImage(const zozud::cRect& area);  // the current image fitted into area
    ImageDoc* GetImage() { return Images.empty() ? nullptr : Images[CurrentImage % Images.size()].get(); }

    // Writes the last model as OBJ or cModel by the path's extension, a
    // skinned one in its bind pose. False with the reason in *error.
    bool SaveModel(const std::string& path, std::string* error) const;

    void FreeRenderResources();  // before the device goes

private:
    bool LoadModel(const std::string& path, std::string* error);
    bool LoadAnim(const std::string& path, std::string* error);
    bool LoadImage(const std::string& path, std::string* error);
    bool LoadLibrary(const std::string& path, std::string* error);
    bool LoadCamera(const std::string& path, std::string* error);
    static bool BuildTexture(ImageDoc* doc);
};

// The faces of a mesh that can never be seen, so need not be drawn: for a
// closed surface (every edge, by position, joins two triangles that run it
// in opposite directions) the side its winding turns inward, told by the
// sign of its volume; None for an open or inconsistently wound surface,
// whose both sides can show. Degenerate triangles are left out.
zozud::cCullMode::Enum HiddenFaces(const zozud::cList<int>& indices, const zozud::cList<zozud::cVertex::Bump>& verts);

// The extension of a path without the dot ("" when it has none).
std::string ExtensionOf(const std::string& path);

}  // namespace viewer
