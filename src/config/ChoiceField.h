#pragma once
// The choice seam: what a tab's algorithm needs of a list, a combo box or a radio group.
namespace vextor {

class ChoiceField {
public:
    virtual ~ChoiceField() = default;
    // -1 when nothing is chosen.
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
};

class PlainChoiceField : public ChoiceField {
public:
    explicit PlainChoiceField(int index = -1) : index_(index) {}
    int currentIndex() const override { return index_; }
    void setCurrentIndex(int index) override { index_ = index; }

private:
    int index_;
};

} // namespace vextor
