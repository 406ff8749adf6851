// placeholder until the frame lands
namespace tk::am {}
