// File dialogs: CNewFileSelector runs the desktop's own dialog program
// (zenity, else kdialog) as a child process and reads the chosen paths from
// its output. The dialog never blocks its caller: start() returns at once and
// poll() picks up the answer later, so the host's user interface keeps
// running while the dialog is open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/toolkit/cbaseobject.h"

class CFrame;

class CFileExtension {
 public:
  CFileExtension(const char* description, const char* extension, const char* mimeType = nullptr,
                 int32_t macType = 0, const char* uti = nullptr);

  const char* getDescription() const { return description.c_str(); }
  const char* getExtension() const { return extension.c_str(); }
  const char* getMimeType() const { return mimeType.c_str(); }
  int32_t getMacType() const { return macType; }
  const char* getUTI() const { return uti.c_str(); }
  bool operator==(const CFileExtension& other) const {
    return extension == other.extension && description == other.description;
  }

 private:
  std::string description;
  std::string extension;
  std::string mimeType;
  int32_t macType;
  std::string uti;
};

class CNewFileSelector : public CBaseObject {
 public:
  enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };

  // One dialog program that has been started.
  class Job {
   public:
    // A program still running is ended (killed and reaped).
    virtual ~Job() = default;
    // Never waits: true once the program has ended, with what it wrote to
    // its standard output and its exit status (-1 when unknown).
    virtual bool finished(std::string& output, int& exitStatus) = 0;
  };

  // Finds and starts dialog programs; tests put a fake in its place.
  class Runner {
   public:
    virtual ~Runner() = default;
    // The full path of an executable program of that name, or false.
    virtual bool findProgram(const char* name, std::string& path) = 0;
    // Starts argv (argv[0] is the program's path) without a shell and
    // returns at once; null when it could not be started. By default it
    // runs the program to its end through run(), for fakes that answer at
    // once.
    virtual std::unique_ptr<Job> start(const std::vector<std::string>& argv);
    // Runs argv to its end and gives back its output; false when it could
    // not be run.
    virtual bool run(const std::vector<std::string>& argv, std::string& output,
                     int& exitStatus);
  };
  // nullptr restores the runner that spawns real programs.
  static void setRunner(Runner* runner);

  // Null when no dialog program is installed.
  static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);

  ~CNewFileSelector() override;

  // Shows the dialog and returns at once; false when it could not start.
  bool start();
  enum class Progress { kRunning, kChosen, kCancelled };
  // Never waits. Once the dialog has ended it answers kChosen (the chosen
  // paths are then available) or kCancelled.
  Progress poll();
  // Ends a running dialog without an answer.
  void cancel();
  bool isRunning() const { return job != nullptr; }

  // Shows the dialog and waits; true when the user chose something.
  bool runModal();

  void setTitle(const char* text) { title = text ? text : ""; }
  void setInitialDirectory(const char* path) { initialDirectory = path ? path : ""; }
  void setDefaultSaveName(const char* name) { defaultSaveName = name ? name : ""; }
  void setDefaultExtension(const CFileExtension& extension);
  void addFileExtension(const CFileExtension& extension);
  void setAllowMultiFileSelection(bool state) { allowMultiple = state; }

  int32_t getNumSelectedFiles() const { return static_cast<int32_t>(selected.size()); }
  const char* getSelectedFile(uint32_t index) const;

  // The argument vector for the chosen program (exposed for tests).
  std::vector<std::string> buildArguments() const;

 private:
  CNewFileSelector(CFrame* parent, Style style, std::string program, bool isZenity);
  std::vector<std::string> zenityArguments() const;
  std::vector<std::string> kdialogArguments() const;
  std::string startPath() const;
  bool takeAnswer(const std::string& output, int exitStatus);

  CFrame* parent;
  Style style;
  std::string program;
  bool zenity;
  std::string title;
  std::string initialDirectory;
  std::string defaultSaveName;
  std::vector<CFileExtension> extensions;
  bool allowMultiple = false;
  std::vector<std::string> selected;
  std::unique_ptr<Job> job;
};
