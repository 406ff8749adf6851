// Both ends of a pipe, closed with the object.
#pragma once

namespace tk::am {

// A pipe whose ends are closed on exec (a child gets only those handed to it)
// and when the object goes; either end may be closed earlier.
class Pipe {
  public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool ok() const { return read >= 0; }
    void closeRead() { closeEnd(read); }
    void closeWrite() { closeEnd(write); }

    int read = -1, write = -1;

  private:
    static void closeEnd(int& fd);
};

}  // namespace tk::am
